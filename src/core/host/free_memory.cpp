#include "core/host/free_memory.h"

#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace vantrel {

std::size_t FreeMemoryBytes() {
    std::ifstream info("/proc/meminfo");
    std::string key, unit;
    unsigned long long kilobytes = 0;
    while (info >> key >> kilobytes >> unit)
        if (key == "MemAvailable:")
            return static_cast<std::size_t>(kilobytes / 10 * 9 * 1024);
    const long pages = sysconf(_SC_PHYS_PAGES), size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || size <= 0)
        return SIZE_MAX;
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(size) / 2;
}

} // namespace vantrel
