#include "WindowFileSystem.h"
#include "StationOfPath.h"
#include "monitor/RefreshStations.h"

WindowFileSystem::WindowFileSystem(FileSystem& inner, std::chrono::milliseconds deadline)
    : m_bounded(
          inner, [this](const QString& path) { return m_form ? stationOfPath(*m_form, path) : -1; }, deadline)
{
    // A station that is slow to answer shows in yellow while the window waits for it.
    m_bounded.setOnSlowCall([this](int station) {
        if (m_form)
            showStationInFlight(*m_form, station);
    });
}
