#include "support/RawFiles.h"
#include "platform/NativeName.h"

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

QStringList entryNames(const QString& folder)
{
    QStringList names;
    DIR* dir = ::opendir(nativeBytes(folder).constData());
    while (const dirent* entry = dir ? ::readdir(dir) : nullptr) {
        if (qstrcmp(entry->d_name, ".") != 0 && qstrcmp(entry->d_name, "..") != 0)
            names.append(nameFromNative(entry->d_name));
    }
    if (dir)
        ::closedir(dir);
    return names;
}

QByteArray linkTarget(const QString& link)
{
    char target[4096];
    const ssize_t n = ::readlink(nativeBytes(link).constData(), target, sizeof target);
    return QByteArray(target, qMax<ssize_t>(n, 0));
}
