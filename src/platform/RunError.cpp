#include "RunError.h"

namespace {

QString standardDescription(int number)
{
    switch (number) {
    case ErrorNumber::FileNotFound:
        return QStringLiteral("File not found");
    case ErrorNumber::FileAlreadyExists:
        return QStringLiteral("File already exists");
    case ErrorNumber::DiskFull:
        return QStringLiteral("Disk full");
    case ErrorNumber::InputPastEndOfFile:
        return QStringLiteral("Input past end of file");
    case ErrorNumber::PermissionDenied:
        return QStringLiteral("Permission denied");
    case ErrorNumber::PathFileAccessError:
        return QStringLiteral("Path/File access error");
    case ErrorNumber::PathNotFound:
        return QStringLiteral("Path not found");
    case ErrorNumber::InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

} // namespace

RunError::RunError(int number, QString description)
    : m_number(number), m_description(std::move(description)),
      m_what(QString::number(number).toUtf8() + "  " + m_description.toUtf8())
{
}

RunError RunError::fromNumber(int number)
{
    return RunError(number, standardDescription(number));
}

RunError RunError::fileBusy()
{
    RunError error(ErrorNumber::PermissionDenied, QStringLiteral("O ficheiro está em uso"));
    error.m_kind = Kind::Busy;
    return error;
}

RunError RunError::shareGone()
{
    RunError error = fromNumber(ErrorNumber::PathFileAccessError);
    error.m_kind = Kind::ShareGone;
    return error;
}

SymbolicLinkRefused::SymbolicLinkRefused()
    : RunError(ErrorNumber::PathFileAccessError, QStringLiteral("É uma ligação simbólica"))
{
}

StationNotAnswering::StationNotAnswering()
    : RunError(ErrorNumber::PathFileAccessError, QStringLiteral("O PC não responde"))
{
    m_kind = Kind::ShareGone;
}
