#include "support/RawFiles.h"
#include "platform/NativeFileSystem.h"
#include "platform/Paths.h"

QMap<QString, QByteArray> contents(const QString& folder)
{
    NativeFileSystem fs;
    QMap<QString, QByteArray> result;
    for (const QString& name : entryNames(folder)) {
        const QString path = joinPath(folder, name);
        const FileStatus::Kind kind = fs.entryStatus(path)->kind;
        if (kind == FileStatus::Kind::Link) {
            result.insert(name, "<link> " + linkTarget(path));
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
