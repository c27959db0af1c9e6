// Folder discovery from the executable's location and the environment.
#include "app/GameFolders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/Paths.h"

namespace fs = std::filesystem;

std::string FindDataFolder(const std::string& executableFolder,
                           const std::string& dataFromExecutable) {
    std::error_code error;
    if (fs::is_regular_file(ResolvePath(JoinPath(executableFolder, "game.zxc")), error))
        return executableFolder;
    return (fs::path(executableFolder) / dataFromExecutable).lexically_normal().string();
}

static std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string FindUserFolder() {
    if (!Environment("TERVOLIN_HOME").empty()) return Environment("TERVOLIN_HOME");
    if (!Environment("XDG_DATA_HOME").empty())
        return JoinPath(Environment("XDG_DATA_HOME"), "tervolin");
    return JoinPath(Environment("HOME"), ".local/share/tervolin");
}

std::string ExecutableFolder() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return error ? "." : executable.parent_path().string();
}

bool EnsureFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}
