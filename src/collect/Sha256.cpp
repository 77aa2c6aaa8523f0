#include "Sha256.h"

#include <openssl/evp.h>

#include <new>

// OpenSSL fails these calls only when it runs out of memory.

void Sha256::Free::operator()(evp_md_ctx_st* context) const
{
    EVP_MD_CTX_free(context);
}

Sha256::Sha256() : m_context(EVP_MD_CTX_new())
{
    if (!m_context || EVP_DigestInit_ex(m_context.get(), EVP_sha256(), nullptr) != 1)
        throw std::bad_alloc();
}

Sha256::~Sha256() = default;

void Sha256::add(const char* data, qint64 size)
{
    if (EVP_DigestUpdate(m_context.get(), data, size_t(size)) != 1)
        throw std::bad_alloc();
}

QString Sha256::hex()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(m_context.get(), digest, &length) != 1)
        throw std::bad_alloc();
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(digest), length).toHex());
}
