#pragma once

#include <QString>
#include <QStringList>

// The name pattern of a file list: one or more wildcard patterns separated by
// ";", where "*" stands for any run of characters and "?" for one character.
// Every other character is literal ("[" and "]" included) and matching ignores case.
class FileNamePattern
{
public:
    FileNamePattern() = default; // lists every file

    // Throws RunError 380 (invalid property value) for a pattern holding a character no
    // file name may contain: / \ : < > " | or a control character.
    static FileNamePattern parse(const QString& text);

    bool matches(QStringView fileName) const;

private:
    QStringList m_patterns; // empty: every name matches
};
