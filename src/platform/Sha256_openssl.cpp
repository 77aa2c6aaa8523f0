#include "Sha256.h"

#include <openssl/evp.h>

#include <new>

// OpenSSL fails these calls only when it runs out of memory.

struct Sha256::State
{
    struct Free
    {
        void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
    };
    std::unique_ptr<EVP_MD_CTX, Free> context{EVP_MD_CTX_new()};
};

Sha256::Sha256() : m_state(std::make_unique<State>())
{
    if (!m_state->context || EVP_DigestInit_ex(m_state->context.get(), EVP_sha256(), nullptr) != 1)
        throw std::bad_alloc();
}

Sha256::~Sha256() = default;

void Sha256::add(const char* data, qint64 size)
{
    if (EVP_DigestUpdate(m_state->context.get(), data, size_t(size)) != 1)
        throw std::bad_alloc();
}

QString Sha256::hex()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(m_state->context.get(), digest, &length) != 1)
        throw std::bad_alloc();
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(digest), length).toHex());
}
