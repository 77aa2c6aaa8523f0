#include "NativeName.h"

#include <QStringDecoder>

namespace {

// Only bytes from 0x80 up are ever escaped: U+DC80 to U+DCFF.
constexpr char16_t EscapeBase = 0xDC00;

bool isEscapedByte(char16_t unit)
{
    return unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF;
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence that starts at bytes[at], or 0 when none does.
int validSequenceLength(const QByteArray& bytes, qsizetype at)
{
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[at + k]); };
    const qsizetype left = bytes.size() - at;
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    int length;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong
        else if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // overlong
        else if (lead == 0xF4)
            high = 0x8F; // past U+10FFFF
    } else {
        return 0;
    }
    if (left < length || byte(1) < low || byte(1) > high)
        return 0;
    for (int k = 2; k < length; ++k) {
        if (!isContinuation(byte(k)))
            return 0;
    }
    return length;
}

QString decodeWithEscapes(const QByteArray& bytes)
{
    QString name;
    name.reserve(bytes.size());
    qsizetype at = 0;
    while (at < bytes.size()) {
        const int length = validSequenceLength(bytes, at);
        if (length == 0) {
            name.append(QChar(char16_t(EscapeBase + static_cast<unsigned char>(bytes[at]))));
            ++at;
            continue;
        }
        name.append(QString::fromUtf8(bytes.constData() + at, length));
        at += length;
    }
    return name;
}

} // namespace

QString nameFromNative(const QByteArray& bytes)
{
    // Stateless and keeping a leading byte-order mark: it is part of the name.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString name = utf8.decode(bytes);
    if (!utf8.hasError())
        return name;
    return decodeWithEscapes(bytes);
}

QByteArray nativeBytes(const QString& name)
{
    if (!hasEscapedBytes(name))
        return name.toUtf8();
    QByteArray bytes;
    bytes.reserve(name.size() * 3);
    const char16_t* units = reinterpret_cast<const char16_t*>(name.utf16());
    const qsizetype size = name.size();
    qsizetype runStart = 0;
    for (qsizetype k = 0; k < size; ++k) {
        // A low surrogate that follows a high one is half of a real character.
        const bool escaped = isEscapedByte(units[k]) && !(k > 0 && QChar::isHighSurrogate(units[k - 1]));
        if (!escaped)
            continue;
        bytes.append(QStringView(units + runStart, k - runStart).toUtf8());
        bytes.append(static_cast<char>(units[k] - EscapeBase));
        runStart = k + 1;
    }
    bytes.append(QStringView(units + runStart, size - runStart).toUtf8());
    return bytes;
}

bool hasEscapedBytes(const QString& name)
{
    for (qsizetype k = 0; k < name.size(); ++k) {
        if (isEscapedByte(name.at(k).unicode()) && !(k > 0 && name.at(k - 1).isHighSurrogate()))
            return true;
    }
    return false;
}

QString displayName(const QString& name)
{
    if (!hasEscapedBytes(name))
        return name;
    QString shown = name;
    for (qsizetype k = 0; k < shown.size(); ++k) {
        if (isEscapedByte(shown.at(k).unicode()) && !(k > 0 && name.at(k - 1).isHighSurrogate()))
            shown[k] = QChar::ReplacementCharacter;
    }
    return shown;
}
