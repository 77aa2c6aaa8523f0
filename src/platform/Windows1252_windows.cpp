#include "Windows1252.h"

#include <windows.h>

constexpr UINT CodePage = 1252;

QString fromWindows1252(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    QString text(bytes.size(), Qt::Uninitialized); // one UTF-16 unit a byte in this code page
    const int n = MultiByteToWideChar(CodePage, 0, bytes.data(), int(bytes.size()),
                                      reinterpret_cast<wchar_t*>(text.data()), int(text.size()));
    text.resize(n);
    return text;
}

std::optional<char> toWindows1252(QStringView character)
{
    char byte = 0;
    BOOL replaced = FALSE;
    // No best fit: "Ω" must not become "O".
    const int n = WideCharToMultiByte(CodePage, WC_NO_BEST_FIT_CHARS,
                                      reinterpret_cast<const wchar_t*>(character.utf16()),
                                      int(character.size()), &byte, 1, nullptr, &replaced);
    if (n != 1 || replaced)
        return std::nullopt;
    return byte;
}
