#pragma once

#include <QString>

#include <exception>

// Error numbers shown to the invigilator, in the classic run-time numbering
// that the messages of the program ("Refresh Error 76  Path not found") use.
namespace ErrorNumber {
constexpr int FileNotFound = 53;
constexpr int FileAlreadyExists = 58;
constexpr int DiskFull = 61;
constexpr int InputPastEndOfFile = 62;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccessError = 75;
constexpr int PathNotFound = 76;
constexpr int ControlArrayElementMissing = 340;
constexpr int InvalidPropertyValue = 380;
} // namespace ErrorNumber

// A failed operation: its number and description, as the error messages show them.
class RunError : public std::exception
{
public:
    RunError(int number, QString description);

    // The standard description of one of the numbers above.
    static RunError fromNumber(int number);
    // A file that another program holds just now (an editor saving it, the server still closing
    // it, an antivirus or indexer reading it): error 70 "O ficheiro está em uso".
    static RunError fileBusy();
    // A share that went away or broke (an I/O error, a connection lost, a stale handle):
    // error 75 "Path/File access error". Nothing on that station can be done until it is back.
    static RunError shareGone();

    // Whether the refusal passes within moments, so that the operation is worth trying again.
    bool isBusy() const { return m_kind == Kind::Busy; }
    bool isShareGone() const { return m_kind == Kind::ShareGone; }

    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
    enum class Kind { Other, Busy, ShareGone } m_kind = Kind::Other;
    friend class StationNotAnswering;
};

// A file that is a symbolic link, refused rather than followed out of a station's folder:
// error 75 "É uma ligação simbólica".
class SymbolicLinkRefused : public RunError
{
public:
    SymbolicLinkRefused();
};

// A call to a station that did not answer within its deadline, or that was not made because
// an earlier one still has not answered: error 75 "O PC não responde".
class StationNotAnswering : public RunError
{
public:
    StationNotAnswering();
};
