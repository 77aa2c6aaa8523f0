#pragma once

#include "platform/RunError.h"

#include <QString>

// A failure that ends a collection once it has begun to write: which file, doing what.
class Interruption
{
public:
    enum class Action { Copying, Writing };

    Interruption(const RunError& error, Action action, QString path);

    // "Error 61 a copiar o ficheiro: path   Disk full": the log's last line names it too.
    QString firstLine() const;
    // What the invigilator is shown: the first line, then what has become of the copies.
    QString message() const;

private:
    RunError m_error;
    Action m_action;
    QString m_path;
};
