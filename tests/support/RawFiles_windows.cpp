#include "support/RawFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <filesystem>

#include <windows.h>

// Names on Windows are UTF-16, as QString's: Qt reads and writes them unchanged.

void writeRaw(const QString& path, const QByteArray& content, qint64 modifiedNs)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
    file.close(); // written, so that no later write moves the time set next
    if (modifiedNs == 0)
        return;
    // To the 100 ns a FILETIME holds, rounded down, also before 1970.
    constexpr qint64 TicksFrom1601To1970 = 116444736000000000LL;
    ULARGE_INTEGER ticks;
    ticks.QuadPart = quint64(modifiedNs / 100 - (modifiedNs % 100 < 0 ? 1 : 0) + TicksFrom1601To1970);
    const FILETIME modified{ticks.LowPart, ticks.HighPart};
    const HANDLE handle = CreateFileW(
        reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()), FILE_WRITE_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    QVERIFY(handle != INVALID_HANDLE_VALUE);
    QVERIFY(SetFileTime(handle, nullptr, nullptr, &modified));
    CloseHandle(handle);
}

bool makeLink(const QString& target, const QString& path)
{
    std::error_code error;
    const std::filesystem::path to(QDir::toNativeSeparators(target).toStdWString());
    const std::filesystem::path at(QDir::toNativeSeparators(path).toStdWString());
    // A link to a folder is made as one, as Windows wants.
    if (QFileInfo(QFileInfo(path).dir(), target).isDir())
        std::filesystem::create_directory_symlink(to, at, error);
    else
        std::filesystem::create_symlink(to, at, error);
    return !error;
}

QStringList entryNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray linkTarget(const QString& link)
{
    return QDir::fromNativeSeparators(QFileInfo(link).symLinkTarget()).toUtf8();
}
