#include "FileNamePattern.h"
#include "platform/RunError.h"

namespace {

bool isRefused(QChar c)
{
    static const QString forbidden = QStringLiteral("/\\:<>\"|");
    return forbidden.contains(c) || c.category() == QChar::Other_Control;
}

// Case folding for matching; most names are ASCII, where it is a table look-up away.
char16_t folded(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= 'A' && u <= 'Z') ? u + ('a' - 'A') : u;
    return c.toCaseFolded().unicode();
}

// Patterns are kept case-folded, so each character of a name is folded once per comparison.
bool sameLetter(QChar foldedPatternChar, QChar c)
{
    return foldedPatternChar.unicode() == folded(c);
}

// Wildcard match with one point of return for the last "*" seen, linear in practice.
bool wildcardMatch(QStringView pattern, QStringView name)
{
    qsizetype p = 0, n = 0;
    qsizetype starAt = -1, nameAtStar = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starAt = p++;
            nameAtStar = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == QLatin1Char('?') || sameLetter(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++nameAtStar;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

// "*.txt" and the like, the usual filters: the name's end compared once.
bool plainSuffixMatch(QStringView suffix, QStringView name)
{
    if (name.size() < suffix.size())
        return false;
    const QStringView end = name.last(suffix.size());
    for (qsizetype k = 0; k < suffix.size(); ++k) {
        if (!sameLetter(suffix[k], end[k]))
            return false;
    }
    return true;
}

bool isPlainSuffix(QStringView pattern)
{
    return pattern.startsWith(QLatin1Char('*')) && !pattern.sliced(1).contains(QLatin1Char('*')) &&
           !pattern.contains(QLatin1Char('?'));
}

bool matchesOne(QStringView pattern, QStringView name)
{
    if (isPlainSuffix(pattern))
        return plainSuffixMatch(pattern.sliced(1), name);
    if (wildcardMatch(pattern, name))
        return true;
    // "exam.*" also lists "exam", and "*.*" every name, dot or not.
    if (pattern.endsWith(QLatin1String(".*")))
        return wildcardMatch(pattern.chopped(2), name);
    return false;
}

} // namespace

FileNamePattern FileNamePattern::parse(const QString& text)
{
    for (const QChar c : text) {
        if (isRefused(c))
            throw RunError::fromNumber(ErrorNumber::InvalidPropertyValue);
    }
    FileNamePattern result;
    for (const QString& segment : text.split(QLatin1Char(';'))) {
        const QString trimmed = segment.trimmed();
        if (trimmed.isEmpty())
            continue;
        QString foldedPattern = trimmed;
        for (QChar& c : foldedPattern)
            c = QChar(folded(c));
        result.m_patterns.append(foldedPattern);
    }
    return result;
}

bool FileNamePattern::matches(QStringView fileName) const
{
    if (m_patterns.isEmpty())
        return true;
    for (const QString& pattern : m_patterns) {
        if (matchesOne(pattern, fileName))
            return true;
    }
    return false;
}
