#include "Sha256.h"

#include <windows.h>

#include <bcrypt.h>

#include <new>

// Windows's own SHA-256 (CNG): the Windows build needs no OpenSSL. These calls fail only when
// memory runs out.

namespace {

void check(NTSTATUS status)
{
    if (status < 0)
        throw std::bad_alloc();
}

} // namespace

struct Sha256::State
{
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;

    ~State()
    {
        if (hash)
            BCryptDestroyHash(hash);
        if (algorithm)
            BCryptCloseAlgorithmProvider(algorithm, 0);
    }
};

Sha256::Sha256() : m_state(std::make_unique<State>())
{
    check(BCryptOpenAlgorithmProvider(&m_state->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0));
    check(BCryptCreateHash(m_state->algorithm, &m_state->hash, nullptr, 0, nullptr, 0, 0));
}

Sha256::~Sha256() = default;

void Sha256::add(const char* data, qint64 size)
{
    while (size > 0) {
        const ULONG part = ULONG(qMin<qint64>(size, 1 << 30));
        check(BCryptHashData(m_state->hash, reinterpret_cast<PUCHAR>(const_cast<char*>(data)), part, 0));
        data += part;
        size -= part;
    }
}

QString Sha256::hex()
{
    unsigned char digest[32];
    check(BCryptFinishHash(m_state->hash, digest, sizeof digest, 0));
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(digest), sizeof digest).toHex());
}
