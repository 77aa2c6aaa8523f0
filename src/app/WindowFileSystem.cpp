#include "WindowFileSystem.h"
#include "StationOfPath.h"

#include <QCoreApplication>
#include <QThread>

WindowFileSystem::WindowFileSystem(FileSystem& inner, std::chrono::milliseconds deadline)
    : m_bounded(
          inner, [this](const QString& path) { return m_form ? stationOfPath(*m_form, path) : -1; }, deadline)
{
    m_bounded.setWhileWaiting([] {
        if (QThread::currentThread() == QCoreApplication::instance()->thread())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}
