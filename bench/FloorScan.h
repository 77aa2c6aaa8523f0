#pragma once

#include <string>
#include <vector>

// The least a station refresh can do with the operating system, for the benchmark
// to measure the program against: plain POSIX calls, no Qt, nothing kept.
struct FloorLab
{
    std::string filter;                // line 1 of pcs.txt
    std::vector<std::string> stations; // the station folders, as pcs.txt names them
    std::string collection;            // root/laboratory/Sessao1
};

struct FloorCounts
{
    long reachable = 0; // station folders found
    long listed = 0;    // names read from every folder
    long matched = 0;   // station files that match the filter and are plain files
    long collected = 0; // plain files in the collection folder
    long long newest = 0;
};

// Reads pcs.txt of the given folder; throws std::runtime_error when it cannot.
FloorLab readFloorLab(const std::string& labFolder);

// Each station folder: one stat, one listing, the filter on each name, and one
// statx per matching name relative to the open folder. The collection folder: one
// stat and one listing of its plain files, as the program lists them unfiltered.
FloorCounts floorScan(const FloorLab& lab);

// The filter's rules: patterns separated by ";", "*" and "?" wildcards, letters
// compared without case (ASCII), and "name.*" also matching "name".
bool floorNameMatches(const std::vector<std::string>& patterns, const char* name);
std::vector<std::string> floorPatterns(const std::string& filter);
