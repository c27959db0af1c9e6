// Runs the built tervolin-tool (path given by the build as TERVOLIN_TOOL) with arguments, no
// shell involved, and captures its exit code, standard output and standard error.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct ToolResult {
    int exitCode = -1;
    std::string out, err;
};

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline ToolResult RunTool(const std::vector<std::string>& args) {
    const std::filesystem::path base = std::filesystem::temp_directory_path() /
                                       ("tervolin-tool-run-" + std::to_string(::getpid()));
    const std::string outPath = base.string() + ".out", errPath = base.string() + ".err";
    std::vector<std::string> argv{TERVOLIN_TOOL};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (std::string& arg : argv) raw.push_back(arg.data());
    raw.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    ToolResult result;
    pid_t pid = 0;
    if (posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ) == 0) {
        int status = 0;
        if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
            result.exitCode = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = ReadText(outPath);
    result.err = ReadText(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return result;
}
