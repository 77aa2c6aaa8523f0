#pragma once

#include "FileSystem.h"
#include "StationCalls.h"
#include "StationWorker.h"

#include <array>
#include <chrono>
#include <functional>
#include <type_traits>

// How long a station's share may leave a call in hand without an answer before the station
// counts as not answering.
constexpr std::chrono::milliseconds StationDeadline{3000};

// The file system of the window with a deadline on every call that touches a station's
// folder: each station's calls run on a thread of that station, and a station silent for
// the deadline is "not answering" (StationNotAnswering; folderExists says false) until its
// late call returns. Other paths, the window's own folders among them, are called directly.
class BoundedFileSystem : public FileSystem, public StationCalls
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

    void post(int station, std::function<void(FileSystem&)> task) override;
    std::chrono::milliseconds silence(int station) const override;
    std::chrono::milliseconds deadline() const override { return m_deadline; }

    // Runs every few milliseconds while a caller waits for a station.
    void setWhileWaiting(std::function<void()> whileWaiting) { m_whileWaiting = std::move(whileWaiting); }

    // Whether a call is in hand anywhere: the process cannot end in order before it returns.
    bool anyBusy() const;
    // Waits until no call is running on any station's thread, late ones included.
    void waitUntilIdle();

private:
    // The worker of the path's station, or null for a direct call.
    StationWorker* workerOf(const QString& path);
    // Runs call on the path's station's thread, or here.
    template <typename Call>
    std::invoke_result_t<Call, FileSystem&> onStation(const QString& path, Call call);
    // Opens a file through open on the path's station's thread; its operations stay there.
    template <typename Open> std::unique_ptr<FileHandle> openOnStation(const QString& path, Open open);

    FileSystem& m_inner;
    std::function<int(const QString&)> m_stationOf;
    std::chrono::milliseconds m_deadline;
    std::function<void()> m_whileWaiting;
    std::array<StationWorker, MaxStations> m_workers;
};
