#include "ChecksumList.h"
#include "platform/NativeName.h"

QByteArray checksumLine(const QString& sha256, const QString& name)
{
    const QByteArray bytes = nativeBytes(name);
    QByteArray escaped;
    escaped.reserve(bytes.size());
    for (const char c : bytes) {
        if (c == '\\')
            escaped.append("\\\\");
        else if (c == '\n')
            escaped.append("\\n");
        else if (c == '\r')
            escaped.append("\\r");
        else
            escaped.append(c);
    }
    const QByteArray start = escaped.size() != bytes.size() ? QByteArrayLiteral("\\") : QByteArray();
    return start + sha256.toLatin1() + "  " + escaped + '\n';
}
