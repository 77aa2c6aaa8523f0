#include "FloorScan.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

char folded(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool wildcardMatch(const char* pattern, size_t patternSize, const char* name)
{
    size_t p = 0, n = 0;
    long starAt = -1;
    size_t nameAtStar = 0;
    while (name[n] != '\0') {
        if (p < patternSize && pattern[p] == '*') {
            starAt = static_cast<long>(p++);
            nameAtStar = n;
        } else if (p < patternSize && (pattern[p] == '?' || folded(pattern[p]) == folded(name[n]))) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = static_cast<size_t>(starAt) + 1;
            n = ++nameAtStar;
        } else {
            return false;
        }
    }
    while (p < patternSize && pattern[p] == '*')
        ++p;
    return p == patternSize;
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

struct OpenFolder
{
    DIR* dir;
    explicit OpenFolder(const char* path) : dir(::opendir(path)) {}
    ~OpenFolder()
    {
        if (dir)
            ::closedir(dir);
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
};

bool isFolder(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void scanStation(const std::string& folder, const std::vector<std::string>& patterns, FloorCounts& counts)
{
    if (!isFolder(folder))
        return;
    ++counts.reachable;
    OpenFolder open(folder.c_str());
    if (!open.dir)
        return;
    const int fd = ::dirfd(open.dir);
    while (const dirent* entry = ::readdir(open.dir)) {
        ++counts.listed;
        if (entry->d_name[0] == '.')
            continue;
        if (entry->d_type != DT_REG && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
            continue;
        if (!floorNameMatches(patterns, entry->d_name))
            continue;
        struct statx stx;
        if (::statx(fd, entry->d_name, 0, STATX_TYPE | STATX_MTIME | STATX_BTIME, &stx) != 0 ||
            !S_ISREG(stx.stx_mode))
            continue;
        ++counts.matched;
        const long long created = (stx.stx_mask & STATX_BTIME) ? stx.stx_btime.tv_sec : stx.stx_mtime.tv_sec;
        if (created > counts.newest)
            counts.newest = created;
    }
}

void scanCollection(const std::string& folder, FloorCounts& counts)
{
    if (!isFolder(folder))
        return;
    OpenFolder open(folder.c_str());
    if (!open.dir)
        return;
    const int fd = ::dirfd(open.dir);
    while (const dirent* entry = ::readdir(open.dir)) {
        ++counts.listed;
        if (entry->d_name[0] == '.')
            continue;
        bool plain = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st;
            plain = ::fstatat(fd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
        }
        if (plain)
            ++counts.collected;
    }
}

} // namespace

std::vector<std::string> floorPatterns(const std::string& filter)
{
    std::vector<std::string> patterns;
    std::stringstream segments(filter);
    for (std::string segment; std::getline(segments, segment, ';');) {
        segment = trimmed(segment);
        if (!segment.empty())
            patterns.push_back(segment);
    }
    return patterns;
}

bool floorNameMatches(const std::vector<std::string>& patterns, const char* name)
{
    if (patterns.empty())
        return true;
    for (const std::string& pattern : patterns) {
        if (wildcardMatch(pattern.data(), pattern.size(), name))
            return true;
        if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
            wildcardMatch(pattern.data(), pattern.size() - 2, name))
            return true;
    }
    return false;
}

FloorLab readFloorLab(const std::string& labFolder)
{
    std::ifstream file(labFolder + "/pcs.txt", std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + labFolder + "/pcs.txt: " + std::strerror(errno));
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    if (lines.size() < 4)
        throw std::runtime_error(labFolder + "/pcs.txt has fewer than four lines");
    FloorLab lab;
    lab.filter = lines[0];
    lab.collection = lines[2] + "/" + lines[1] + "/Sessao1";
    lab.stations.assign(lines.begin() + 4, lines.end());
    return lab;
}

FloorCounts floorScan(const FloorLab& lab)
{
    FloorCounts counts;
    const std::vector<std::string> patterns = floorPatterns(lab.filter);
    for (const std::string& station : lab.stations)
        scanStation(station, patterns, counts);
    scanCollection(lab.collection, counts);
    return counts;
}
