#include "WindowFileSystem.h"
#include "StationOfPath.h"

WindowFileSystem::WindowFileSystem()
    : m_bounded(m_native, [this](const QString& path) { return m_form ? stationOfPath(*m_form, path) : -1; })
{
}
