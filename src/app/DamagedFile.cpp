// Keeping damaged user files aside.
#include "app/DamagedFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/MemoryStream.h"

namespace fs = std::filesystem;

std::string DamagedFileName(const std::string& path, std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = path + ".damaged-" + stamp;
    std::string name = base;
    std::error_code error;
    for (int suffix = 2; fs::symlink_status(name, error).type() != fs::file_type::not_found;
         ++suffix)
        name = base + "-" + std::to_string(suffix);
    return name;
}

std::string MoveDamagedFile(const std::string& path, std::time_t when) {
    const std::string kept = DamagedFileName(path, when);
    if (std::rename(path.c_str(), kept.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), "Cannot move " + path);
    return kept;
}

std::string CopyDamagedFile(const std::string& path, std::time_t when) {
    TMemoryStream bytes;
    bytes.LoadFromFile(path);
    const std::string kept = DamagedFileName(path, when);
    bytes.SaveToFile(kept);
    return kept;
}
