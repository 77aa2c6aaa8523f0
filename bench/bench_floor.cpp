// The floor alone, once, between the markers: what the file system call count of
// one refresh is measured against.
#include "BenchMarkers.h"
#include "FloorScan.h"

#include <cstdio>
#include <stdexcept>
#include <string>

#include <unistd.h>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: varnok_floor LAB_FOLDER\n");
        return 2;
    }
    try {
        if (::chdir(argv[1]) != 0)
            throw std::runtime_error(std::string("cannot enter ") + argv[1]);
        const FloorLab lab = readFloorLab(".");
        markBegin();
        const FloorCounts counts = floorScan(lab);
        markEnd();
        std::printf("floor reachable=%ld listed=%ld matched=%ld collected=%ld\n", counts.reachable,
                    counts.listed, counts.matched, counts.collected);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "varnok_floor: %s\n", error.what());
        return 1;
    }
    return 0;
}
