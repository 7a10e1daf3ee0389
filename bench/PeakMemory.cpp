#include "PeakMemory.h"

#include <malloc.h>

#include <fstream>
#include <sstream>
#include <string>

namespace bench {

namespace {

// A "<field>: <n> kB" line of /proc/self/status, in bytes; 0 when missing.
uint64_t StatusField(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    std::string wanted = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(wanted, 0) != 0)
            continue;
        std::istringstream value(line.substr(wanted.size()));
        uint64_t kilobytes = 0;
        value >> kilobytes;
        return kilobytes * 1024;
    }
    return 0;
}

} // namespace

uint64_t ResidentBytes()
{
    return StatusField("VmRSS");
}

uint64_t PeakResidentBytes()
{
    return StatusField("VmHWM");
}

bool ResetPeak()
{
    malloc_trim(0);
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.close();
    return !clear.fail();
}

} // namespace bench
