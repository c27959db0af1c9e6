// Machine description from os-release, uname, CPUID and sysconf.
#include "platform/MachineInfo.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

static std::string Unquote(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string OsReleaseName(const std::string& osReleaseText) {
    std::istringstream lines(osReleaseText);
    std::string line, pretty, name;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("PRETTY_NAME=", 0) == 0) pretty = Unquote(line.substr(12));
        if (line.rfind("NAME=", 0) == 0) name = Unquote(line.substr(5));
    }
    return pretty.empty() ? name : pretty;
}

std::string GetOSDescription(const std::string& osReleasePath) {
    std::ifstream file(osReleasePath);
    std::stringstream text;
    text << file.rdbuf();
    std::string description = OsReleaseName(text.str());
    struct utsname system {};
    if (uname(&system) == 0) {
        if (!description.empty()) description += ", ";
        description += std::string("kernel ") + system.release;
    }
    return description;
}

std::string GetProcessorDescription() {
    char brand[49] = {};
#if defined(__x86_64__) || defined(__i386__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(0x80000000u, &a, &b, &c, &d) && a >= 0x80000004u) {
        for (unsigned leaf = 0; leaf < 3; ++leaf) {
            unsigned regs[4] = {};
            __get_cpuid(0x80000002u + leaf, &regs[0], &regs[1], &regs[2], &regs[3]);
            std::memcpy(brand + leaf * 16, regs, 16);
        }
    }
#endif
    return std::string(brand);
}

uint64_t TotalMemoryMb() {
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return 0;
    return (uint64_t(pages) * uint64_t(pageSize)) >> 20;
}
