#include "CarefulCopy.h"
#include "BusyRetry.h"
#include "platform/FileSystem.h"
#include "platform/NativeName.h"
#include "platform/Paths.h"
#include "platform/RunError.h"
#include "platform/Sha256.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <optional>

namespace {

constexpr qint64 ChunkSize = 1 << 20;
constexpr qsizetype MaxNameBytes = 255;
constexpr int MaxNumber = 10000;
constexpr int TemporaryAttempts = 100;
constexpr int CopyAttempts = 3; // a student saving while the file is read
// A file is left to settle until it has been still this long, for this long at most.
constexpr qint64 StillMs = 1000;
constexpr qint64 MostSaveWaitMs = 4000;
constexpr qint64 SaveLookMs = 100;

using Claim = FileSystem::Claim;

// The ways to claim a name, from the best; each file system that refuses one may take the next.
enum class ClaimMethod { RenameNoReplace, Link, Placeholder };

void removeQuietly(FileSystem& fs, const QString& path)
{
    try {
        retryWhileBusy([&] { fs.removeFile(path); });
    } catch (const RunError&) {
    }
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
            m_file = retryWhileBusy([&] { return fs.createNew(m_path); });
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

// An operation on the original: its failures are the station's. A link stays a link.
template <typename Operation> auto onSource(Operation operation) -> decltype(operation())
{
    try {
        return operation();
    } catch (const SourceError&) {
        throw;
    } catch (const SymbolicLinkRefused&) {
        throw;
    } catch (const RunError& error) {
        throw SourceError(error);
    }
}

struct CopiedBytes
{
    QString sha256;
    qint64 count = 0;
};

// Copies every byte, but at most one more than expected: a file that keeps growing while
// it is read still ends the copy. Returns their digest and count.
CopiedBytes copyBytes(FileHandle& from, FileHandle& to, QByteArray& buffer, qint64 expected,
                      const CopyProgress& onBytes)
{
    Sha256 digest;
    CopiedBytes copied;
    for (;;) {
        const qint64 room = expected + 1 - copied.count;
        const qint64 n =
            room > 0 ? onSource([&] { return from.read(buffer.data(), qMin<qint64>(buffer.size(), room)); })
                     : 0;
        if (n == 0) {
            copied.sha256 = digest.hex();
            return copied;
        }
        digest.add(buffer.constData(), n);
        to.write(buffer.constData(), n);
        copied.count += n;
        if (onBytes)
            onBytes(copied.count, expected);
    }
}

QString digestOf(FileSystem& fs, const QString& path, QByteArray& buffer)
{
    const std::unique_ptr<FileHandle> file = retryWhileBusy([&] { return fs.openToRead(path); });
    // What the disk holds now, not what this machine cached of it.
    file->dropCache();
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
        return retryWhileBusy([&] { return fs.renameNoReplace(temporary, target); });
    case ClaimMethod::Link: {
        const Claim claim = retryWhileBusy([&] { return fs.linkNew(temporary, target); });
        // Left behind, the temporary would only be a second name of the complete copy.
        if (claim == Claim::Claimed)
            removeQuietly(fs, temporary);
        return claim;
    }
    case ClaimMethod::Placeholder: {
        std::unique_ptr<FileHandle> placeholder = retryWhileBusy([&] { return fs.createNew(target); });
        if (!placeholder)
            return Claim::Taken;
        try {
            placeholder->close();
            retryWhileBusy([&] { fs.renameOver(temporary, target); });
        } catch (const RunError&) {
            removeQuietly(fs, target);
            throw;
        }
        return Claim::Claimed;
    }
    }
    Q_UNREACHABLE();
}

// The next way to claim a name after one the file system refused. A file whose old name
// must go in the same step as it takes the new one skips the link: between the two, a file
// saved under the old name would be the one removed.
ClaimMethod nextMethod(ClaimMethod method, bool linkAllowed)
{
    method = ClaimMethod(int(method) + 1);
    return method == ClaimMethod::Link && !linkAllowed ? ClaimMethod::Placeholder : method;
}

// Gives the file the first free name that candidate(1), candidate(2)... offer, empty ones
// skipped; the next one only when a file has the name.
template <typename Candidate>
QString claimFirstFree(FileSystem& fs, const QString& from, const QString& folder, int attempts,
                       bool linkAllowed, Candidate candidate)
{
    ClaimMethod method = ClaimMethod::RenameNoReplace;
    for (int number = 1; number <= attempts; ++number) {
        const QString name = candidate(number);
        if (name.isEmpty())
            continue;
        for (;;) {
            const Claim claim = claimWith(method, fs, from, joinPath(folder, name));
            if (claim == Claim::Claimed)
                return name;
            if (claim == Claim::Taken)
                break;
            method = nextMethod(method, linkAllowed);
        }
    }
    throw RunError::fromNumber(ErrorNumber::FileAlreadyExists);
}

// Gives the file the first free numbered name; the names in reservedNames count as taken.
QString claimName(FileSystem& fs, const QString& from, const QString& folder, const QString& name,
                  const QSet<QString>& reservedNames)
{
    return claimFirstFree(fs, from, folder, MaxNumber, true, [&](int number) {
        const QString candidate = numberedName(name, number);
        return isReserved(candidate, reservedNames) ? QString() : candidate;
    });
}

// Waits while the original is being saved: until it has been still for a second, by its
// modification time on the invigilator's clock or, for a station whose clock is another, by
// what is seen of it here; and while it is empty after it was listed with bytes (an editor
// that truncates the file, then writes it). A few seconds at most; then it is copied as it is.
void waitWhileSaved(FileSystem& fs, const QString& path, const CopyOptions& options)
{
    if (options.nowMs == 0)
        return;
    QElapsedTimer waited;
    waited.start();
    std::optional<FileStatus> seen;
    qint64 stillSince = 0;
    for (;;) {
        std::optional<FileStatus> now;
        try {
            now = fs.entryStatus(path);
        } catch (const RunError&) {
            return; // the copy reports what is wrong with it
        }
        if (!now || now->kind != FileStatus::Kind::File)
            return;
        const qint64 elapsed = waited.elapsed();
        if (now != seen) {
            seen = now;
            stillSince = elapsed;
        }
        const qint64 sinceSave = options.nowMs + elapsed - now->modifiedNs / 1000000;
        const bool saving = (sinceSave > -StillMs && sinceSave < StillMs && elapsed - stillSince < StillMs) ||
                            (now->size == 0 && options.listedSize > 0);
        if (!saving || elapsed >= MostSaveWaitMs)
            return;
        if (options.onBytes)
            options.onBytes(0, now->size); // the window answers meanwhile
        std::this_thread::sleep_for(std::chrono::milliseconds(SaveLookMs));
    }
}

// One copy; nullopt when the original changed while it was read, the temporary then removed.
std::optional<CopyResult> copyOnce(FileSystem& fs, const QString& sourcePath,
                                   const QString& destinationFolder, const QString& name,
                                   const CopyOptions& options, QByteArray& buffer)
{
    waitWhileSaved(fs, sourcePath, options);
    std::unique_ptr<FileHandle> source =
        onSource([&] { return retryWhileBusy([&] { return fs.openToRead(sourcePath); }); });
    CopyResult result;
    result.source = onSource([&] { return source->status(); });
    if (result.source.kind != FileStatus::Kind::File)
        throw SourceError(RunError::fromNumber(ErrorNumber::PathFileAccessError));

    TemporaryFile temporary(fs, destinationFolder);
    FileHandle& copy = temporary.file();
    const CopiedBytes copied = copyBytes(*source, copy, buffer, result.source.size, options.onBytes);
    // Rewritten in place while it was read (as many editors save), the copy would be a
    // version that never existed.
    if (onSource([&] { return source->status(); }) != result.source)
        return std::nullopt;
    source.reset();
    // A share that ends a read early gives a copy that would verify against itself.
    if (copied.count != result.source.size)
        throw ShortRead();
    result.sha256 = copied.sha256;
    copy.setModified(result.source.modifiedNs);
    copy.sync();
    copy.dropCache();
    copy.close();
    if (digestOf(fs, temporary.path(), buffer) != result.sha256)
        throw CopyMismatch();

    result.name = claimName(fs, temporary.path(), destinationFolder, name, options.reservedNames);
    temporary.release();
    result.path = joinPath(destinationFolder, result.name);
    try {
        fs.syncFolder(destinationFolder);
    } catch (const RunError&) {
        // Not returned, the copy would be listed nowhere; the original is still there.
        removeQuietly(fs, result.path);
        throw;
    }
    return result;
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

SourceChanged::SourceChanged()
    : SourceError(RunError(ErrorNumber::PathFileAccessError,
                           QStringLiteral("O ficheiro foi alterado durante a cópia")))
{
}

ShortRead::ShortRead()
    : SourceError(
          RunError(ErrorNumber::PathFileAccessError, QStringLiteral("O ficheiro não foi lido até ao fim")))
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
                                const QString& name, const CopyOptions& options)
{
    QByteArray buffer(ChunkSize, Qt::Uninitialized);
    for (int attempt = 0; attempt < CopyAttempts; ++attempt) {
        if (std::optional<CopyResult> copy =
                copyOnce(fs, sourcePath, destinationFolder, name, options, buffer))
            return *copy;
    }
    throw SourceChanged();
}

QString randomTemporaryName()
{
    static constexpr char Characters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name = QStringLiteral(".varnok-");
    for (int k = 0; k < 12; ++k)
        name.append(QLatin1Char(Characters[QRandomGenerator::system()->bounded(int(sizeof Characters) - 1)]));
    return name;
}

bool isTemporaryName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\.varnok-[A-Za-z0-9]{12}$"));
    return pattern.match(name).hasMatch();
}

QString moveAside(FileSystem& fs, const QString& folder, const QString& name,
                  const std::function<void(const QString& hiddenName)>& beforeAttempt)
{
    return joinPath(folder,
                    claimFirstFree(fs, joinPath(folder, name), folder, TemporaryAttempts, false, [&](int) {
                        const QString hidden = randomTemporaryName();
                        beforeAttempt(hidden);
                        return hidden;
                    }));
}

QString moveBack(FileSystem& fs, const QString& asidePath, const QString& folder, const QString& name)
{
    return claimName(fs, asidePath, folder, name, {});
}

QString digestOfFile(FileSystem& fs, const QString& path)
{
    QByteArray buffer(ChunkSize, Qt::Uninitialized);
    return digestOf(fs, path, buffer);
}
