#pragma once

#include "support/FakeDesktop.h"
#include "app/WindowFileSystem.h"
#include "support/FakeFileSystem.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

class Form1;
class QWidget;

// The fake desktop's day, 15 June 2026, in pt_PT's short date form on this system.
#ifdef Q_OS_WIN
#define TEST_DAY "15/06/2026"
#else
#define TEST_DAY "15/06/26"
#endif

// Shows the window and waits until it is the active one, as a click on it would leave it.
void activate(QWidget& window);

// A laboratory in a temporary folder: the station list file, station folders and
// the collection root, and the main window opened on it with the fake desktop.
// The working folder is the lab's while it lives.
class TestLab
{
public:
    TestLab();
    ~TestLab();

    // Paths as a teacher writes them on this system: with "\\" on Windows. An absolute path is kept.
    QString root() const { return QDir::toNativeSeparators(m_dir.path()); }
    QString path(const QString& relative) const;
    QString stationFolder(int station) const; // root/pcNN, not created
    QString makeFolder(const QString& relative);
    QString makeStation(int station) { return makeFolder(stationFolder(station)); }
    QString writeFile(const QString& folder, const QString& name, const QByteArray& content = QByteArray());

    void writeStationList(const QByteArray& bytes) { writeFile(root(), QStringLiteral("pcs.txt"), bytes); }
    // These lines, in UTF-8 with CR LF.
    void writeStationList(const QStringList& lines)
    {
        writeStationList((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    }
    // Filter, laboratory "Lab1", root/recolha, root/backup, then the station folders.
    void writeStationList(int stations, const QString& filter = QStringLiteral("*.*"));

    // Creates the window, as the program does, with the deadline for its stations, runs start-up
    // and, if settled, waits until every station's look is shown; startupSucceeded tells how it ended.
    Form1& open(std::chrono::milliseconds deadline = StationDeadline, bool settled = true);
    // One tick of the window's refresh timer, and the looks it started, shown.
    void tick();
    // Handles the window's events until every look is shown, but those of stations not answering.
    void settle();

    FakeFileSystem fileSystem;
    FakeDesktop desktop;
    bool startupSucceeded = false;

private:
    QTemporaryDir m_dir;
    QString m_previousFolder;
    std::unique_ptr<WindowFileSystem> m_windowFileSystem;
    std::unique_ptr<Form1> m_form;
};
