#pragma once

#include "FileSystem.h"
#include "StationWorker.h"

#include <array>
#include <chrono>
#include <functional>
#include <type_traits>

// How long the window waits for a station's share to answer one call.
constexpr std::chrono::milliseconds StationDeadline{3000};

// The file system of the window with a deadline on every call that touches a station's
// folder: each station's calls run on a thread of that station, and a call past its
// deadline makes the station "not answering" (StationNotAnswering; folderExists says
// false) until the late call returns. Other paths, the window's own folders among them,
// are called directly.
class BoundedFileSystem : public FileSystem
{
public:
    static constexpr int MaxStations = 14;

    // stationOf gives the station whose folder holds a path, or -1.
    BoundedFileSystem(FileSystem& inner, std::function<int(const QString&)> stationOf,
                      std::chrono::milliseconds deadline = StationDeadline);

    bool folderExists(const QString& path) override;
    QList<ListedFile> listFiles(const QString& folder, const NameFilter& wanted, bool withTimes) override;
    FileTimesRead fileTimes(const QString& path) override;
    QByteArray readFile(const QString& path) override;
    std::optional<FileStatus> status(const QString& path) override;
    std::optional<FileStatus> entryStatus(const QString& path) override;
    std::unique_ptr<FileHandle> openToRead(const QString& path) override;
    std::unique_ptr<FileHandle> createNew(const QString& path) override;
    Claim renameNoReplace(const QString& from, const QString& to) override;
    Claim linkNew(const QString& from, const QString& to) override;
    void renameOver(const QString& from, const QString& to) override;
    void removeFile(const QString& path) override;
    void syncFolder(const QString& path) override;
    QStringList listAllFiles(const QString& folder) override;
    std::unique_ptr<FileHandle> openToAppend(const QString& path) override;
    bool notAnswering(const QString& path) override;

    // Runs, with the station, when a call to it has not answered within a tenth of a second.
    void setOnSlowCall(std::function<void(int station)> onSlow) { m_onSlow = std::move(onSlow); }

    // Whether a call is still stuck somewhere: the process cannot end before it returns.
    bool anyNotAnswering() const;
    // Waits until no call is running on any station's thread, late ones included.
    void waitUntilIdle();

private:
    // The worker of the path's station, or null for a direct call.
    StationWorker* workerOf(const QString& path);
    std::function<void()> slowCallOf(const StationWorker* worker) const;
    // Runs call on the path's station's thread, or here.
    template <typename Call>
    std::invoke_result_t<Call, FileSystem&> onStation(const QString& path, Call call);
    // Opens a file through open on the path's station's thread; its operations stay there.
    template <typename Open> std::unique_ptr<FileHandle> openOnStation(const QString& path, Open open);

    FileSystem& m_inner;
    std::function<int(const QString&)> m_stationOf;
    std::chrono::milliseconds m_deadline;
    std::function<void(int)> m_onSlow;
    std::array<StationWorker, MaxStations> m_workers;
};
