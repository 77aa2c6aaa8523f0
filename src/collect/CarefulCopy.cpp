#include "CarefulCopy.h"
#include "Sha256.h"
#include "platform/FileSystem.h"
#include "platform/NativeName.h"
#include "platform/Paths.h"
#include "platform/RunError.h"

#include <QRandomGenerator>

namespace {

constexpr qint64 ChunkSize = 1 << 20;
constexpr qsizetype MaxNameBytes = 255;
constexpr int MaxNumber = 10000;
constexpr int TemporaryAttempts = 100;

using Claim = FileSystem::Claim;

// The ways to claim a name, from the best; each file system that refuses one may take the next.
enum class ClaimMethod { RenameNoReplace, Link, Placeholder };

void removeQuietly(FileSystem& fs, const QString& path)
{
    try {
        fs.removeFile(path);
    } catch (const RunError&) {
    }
}

QString randomTemporaryName()
{
    static constexpr char Characters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name = QStringLiteral(".varnok-");
    for (int k = 0; k < 12; ++k)
        name.append(QLatin1Char(Characters[QRandomGenerator::system()->bounded(int(sizeof Characters) - 1)]));
    return name;
}

// A new hidden file in the folder, removed on the way out of a failure; closed
// first, as Windows removes no open file.
class TemporaryFile
{
public:
    TemporaryFile(FileSystem& fs, const QString& folder) : m_fs(fs)
    {
        for (int attempt = 0; attempt < TemporaryAttempts && !m_file; ++attempt) {
            m_path = joinPath(folder, randomTemporaryName());
            m_file = fs.createNew(m_path);
        }
        if (!m_file)
            throw RunError::fromNumber(ErrorNumber::FileAlreadyExists);
    }
    ~TemporaryFile()
    {
        m_file.reset();
        if (!m_path.isEmpty())
            removeQuietly(m_fs, m_path);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    FileHandle& file() { return *m_file; }
    const QString& path() const { return m_path; }
    // Once it has its final name.
    void release() { m_path.clear(); }

private:
    FileSystem& m_fs;
    QString m_path;
    std::unique_ptr<FileHandle> m_file;
};

// Copies every byte; returns their digest.
QString copyBytes(FileHandle& from, FileHandle& to, QByteArray& buffer)
{
    Sha256 digest;
    for (;;) {
        const qint64 n = from.read(buffer.data(), buffer.size());
        if (n == 0)
            return digest.hex();
        digest.add(buffer.constData(), n);
        to.write(buffer.constData(), n);
    }
}

QString digestOf(FileSystem& fs, const QString& path, QByteArray& buffer)
{
    const std::unique_ptr<FileHandle> file = fs.openToRead(path);
    Sha256 digest;
    while (const qint64 n = file->read(buffer.data(), buffer.size()))
        digest.add(buffer.constData(), n);
    return digest.hex();
}

bool isReserved(const QString& name, const QSet<QString>& reservedNames)
{
    // Without case: on FAT or a Windows share a student's "LOG.TXT" would be the collection's own log.
    const QString folded = name.toCaseFolded();
    for (const QString& reserved : reservedNames) {
        if (reserved.toCaseFolded() == folded)
            return true;
    }
    return false;
}

Claim claimWith(ClaimMethod method, FileSystem& fs, const QString& temporary, const QString& target)
{
    switch (method) {
    case ClaimMethod::RenameNoReplace:
        return fs.renameNoReplace(temporary, target);
    case ClaimMethod::Link: {
        const Claim claim = fs.linkNew(temporary, target);
        // Left behind, the temporary would only be a second name of the complete copy.
        if (claim == Claim::Claimed)
            removeQuietly(fs, temporary);
        return claim;
    }
    case ClaimMethod::Placeholder: {
        std::unique_ptr<FileHandle> placeholder = fs.createNew(target);
        if (!placeholder)
            return Claim::Taken;
        try {
            placeholder->close();
            fs.renameOver(temporary, target);
        } catch (const RunError&) {
            removeQuietly(fs, target);
            throw;
        }
        return Claim::Claimed;
    }
    }
    Q_UNREACHABLE();
}

// Gives the temporary the first free name; the next number only when a file has the name.
QString claimName(FileSystem& fs, const QString& temporary, const QString& folder, const QString& name,
                  const QSet<QString>& reservedNames)
{
    ClaimMethod method = ClaimMethod::RenameNoReplace;
    for (int number = 1; number <= MaxNumber; ++number) {
        const QString candidate = numberedName(name, number);
        if (isReserved(candidate, reservedNames))
            continue;
        for (;;) {
            const Claim claim = claimWith(method, fs, temporary, joinPath(folder, candidate));
            if (claim == Claim::Claimed)
                return candidate;
            if (claim == Claim::Taken)
                break;
            method = ClaimMethod(int(method) + 1);
        }
    }
    throw RunError::fromNumber(ErrorNumber::FileAlreadyExists);
}

void chopLastCharacter(QString& text)
{
    const qsizetype size = text.size();
    const bool pair = size >= 2 && text.at(size - 1).isLowSurrogate() && text.at(size - 2).isHighSurrogate();
    text.chop(pair ? 2 : 1);
}

} // namespace

CopyMismatch::CopyMismatch()
    : RunError(ErrorNumber::PathFileAccessError, QStringLiteral("A cópia não coincide com o original"))
{
}

QString numberedName(const QString& name, int number)
{
    const QString suffix = number > 1 ? QStringLiteral(" (%1)").arg(number) : QString();
    qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        dot = name.size();
    QString stem = name.left(dot);
    QString extension = name.mid(dot);
    const auto fit = [&] {
        while (!stem.isEmpty() && nativeBytes(stem + suffix + extension).size() > MaxNameBytes)
            chopLastCharacter(stem);
    };
    fit();
    if (stem.isEmpty()) {
        // An extension too long to leave room for anything else is shortened as part of the name.
        stem = name;
        extension.clear();
        fit();
    }
    return stem + suffix + extension;
}

CopyResult copyWithoutReplacing(FileSystem& fs, const QString& sourcePath, const QString& destinationFolder,
                                const QString& name, const QSet<QString>& reservedNames)
{
    std::unique_ptr<FileHandle> source = fs.openToRead(sourcePath);
    CopyResult result;
    result.source = source->status();
    if (result.source.kind != FileStatus::Kind::File)
        throw RunError::fromNumber(ErrorNumber::PathFileAccessError);

    TemporaryFile temporary(fs, destinationFolder);
    FileHandle& copy = temporary.file();
    QByteArray buffer(ChunkSize, Qt::Uninitialized);
    result.sha256 = copyBytes(*source, copy, buffer);
    source.reset();
    copy.setModified(result.source.modifiedNs);
    copy.sync();
    copy.dropCache();
    copy.close();
    if (digestOf(fs, temporary.path(), buffer) != result.sha256)
        throw CopyMismatch();

    result.name = claimName(fs, temporary.path(), destinationFolder, name, reservedNames);
    temporary.release();
    result.path = joinPath(destinationFolder, result.name);
    fs.syncFolder(destinationFolder);
    return result;
}
