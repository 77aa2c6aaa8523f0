#include "support/RawFiles.h"
#include "platform/NativeFileSystem.h"
#include "platform/NativeName.h"
#include "platform/Paths.h"

#include <QTest>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void writeRaw(const QString& path, const QByteArray& content, qint64 modifiedNs)
{
    const int fd = ::open(nativeBytes(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, content.constData(), content.size()), content.size());
    if (modifiedNs != 0) {
        const qint64 seconds = modifiedNs / 1000000000 - (modifiedNs % 1000000000 < 0 ? 1 : 0);
        const timespec times[2] = {{0, UTIME_OMIT}, {seconds, modifiedNs - seconds * 1000000000}};
        QCOMPARE(::futimens(fd, times), 0);
    }
    ::close(fd);
}

bool makeLink(const QString& target, const QString& path)
{
    return ::symlink(nativeBytes(target).constData(), nativeBytes(path).constData()) == 0;
}

namespace {

// The names in a folder, hidden ones included, sorted.
QStringList entries(const QString& folder)
{
    QStringList names;
    DIR* dir = ::opendir(nativeBytes(folder).constData());
    while (const dirent* entry = dir ? ::readdir(dir) : nullptr) {
        if (qstrcmp(entry->d_name, ".") != 0 && qstrcmp(entry->d_name, "..") != 0)
            names.append(nameFromNative(entry->d_name));
    }
    if (dir)
        ::closedir(dir);
    names.sort();
    return names;
}

} // namespace

QMap<QString, QByteArray> contents(const QString& folder)
{
    NativeFileSystem fs;
    QMap<QString, QByteArray> result;
    for (const QString& name : entries(folder)) {
        const QString path = joinPath(folder, name);
        const FileStatus::Kind kind = fs.entryStatus(path)->kind;
        if (kind == FileStatus::Kind::Link) {
            char target[4096];
            const ssize_t n = ::readlink(nativeBytes(path).constData(), target, sizeof target);
            result.insert(name, "<link> " + QByteArray(target, qMax<ssize_t>(n, 0)));
        } else if (kind != FileStatus::Kind::Folder) {
            result.insert(name, fs.readFile(path));
        } else if (const QMap<QString, QByteArray> inside = contents(path); inside.isEmpty()) {
            result.insert(name + u'/', {});
        } else {
            for (auto entry = inside.cbegin(); entry != inside.cend(); ++entry)
                result.insert(name + u'/' + entry.key(), entry.value());
        }
    }
    return result;
}
