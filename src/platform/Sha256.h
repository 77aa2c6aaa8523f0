#pragma once

#include <QString>

#include <memory>

// SHA-256 of the bytes added: by OpenSSL on Linux, by the system's own (BCrypt) on Windows.
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
    struct State;
    std::unique_ptr<State> m_state;
};
