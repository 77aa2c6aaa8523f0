#include "support/TestLab.h"
#include "app/EventTable.h"
#include "monitor/StationLooks.h"
#include "platform/Paths.h"
#include "setup/Startup.h"
#include "support/RawFiles.h"
#include "window/Form1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

void activate(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window))
        qFatal("window not active");
}

TestLab::TestLab() : m_previousFolder(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
}

TestLab::~TestLab()
{
    fileSystem.release();
    if (m_windowFileSystem)
        m_windowFileSystem->waitUntilIdle();
    m_form.reset();
    QDir::setCurrent(m_previousFolder);
}

QString TestLab::path(const QString& relative) const
{
    return QDir::toNativeSeparators(QDir(m_dir.path()).filePath(relative));
}

QString TestLab::stationFolder(int station) const
{
    return path(QStringLiteral("pc%1").arg(station + 1, 2, 10, QLatin1Char('0')));
}

QString TestLab::makeFolder(const QString& relative)
{
    QDir().mkpath(path(relative));
    return path(relative);
}

QString TestLab::writeFile(const QString& folder, const QString& name, const QByteArray& content)
{
    const QString file = joinPath(folder, name);
    writeRaw(file, content);
    return file;
}

void TestLab::writeStationList(int stations, const QString& filter)
{
    QStringList lines{filter, QStringLiteral("Lab1"), path(QStringLiteral("recolha")),
                      path(QStringLiteral("backup"))};
    for (int i = 0; i < stations; ++i)
        lines.append(stationFolder(i));
    writeStationList(lines);
}

Form1& TestLab::open(std::chrono::milliseconds deadline, bool settled)
{
    m_windowFileSystem = std::make_unique<WindowFileSystem>(fileSystem, deadline);
    m_form = std::make_unique<Form1>(m_windowFileSystem->fileSystem(), m_windowFileSystem->stationCalls(),
                                     desktop);
    m_windowFileSystem->attach(*m_form);
    connectEvents(*m_form);
    startupSucceeded = runStartup(*m_form);
    if (startupSucceeded && settled)
        settle();
    return *m_form;
}

void TestLab::tick()
{
    // The timer's signal is private to it: raise it as the timer does.
    QMetaObject::invokeMethod(m_form->Timer1, "timeout", Qt::DirectConnection);
    if (!m_form->guard().busy()) // inside a box, what the tick starts is shown after it
        settle();
}

void TestLab::settle()
{
    QElapsedTimer waited;
    waited.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (waited.elapsed() > 20000)
            qFatal("the stations' looks did not settle");
    } while (!StationLooks::of(*m_form).settled() || m_form->guard().busy());
    QCoreApplication::processEvents();
}
