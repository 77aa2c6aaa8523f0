#pragma once

#include <QString>

#include <memory>

struct evp_md_ctx_st;

// SHA-256 of the bytes added, by OpenSSL.
class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(const char* data, qint64 size);
    // The digest of every byte added, in lowercase hex as sha256sum prints it; adding is over.
    QString hex();

private:
    struct Free
    {
        void operator()(evp_md_ctx_st* context) const;
    };
    std::unique_ptr<evp_md_ctx_st, Free> m_context;
};
