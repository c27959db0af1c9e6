// The game's start-up and idle cost, measured on the built game executable run as a player runs
// it, from scripts of the scripted mode:
// - startup-to-title-ms: from starting the process to the first presented title frame, headless,
//   with the working archive already made by an earlier run (best of three);
// - idle-title-cpu-pct, idle-board-cpu-pct: the process's processor time over 10 s of wall time
//   on the title and on a quiet board of level 1 (under its first tutorial popup, which belongs
//   to play), in a real window under a virtual X server
//   (Xvfb) when one can be started, else headless.
// Each script marks the moments to measure with a "dump" (whose first line starts with "t="); the
// times are taken when those lines arrive, the processor time from /proc/PID/stat.
#include "CostFigures.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

using TClock = std::chrono::steady_clock;

constexpr int IdleSeconds = 10;

// Makes the first player, so the measured runs start at the title.
const char* const FirstRunScript =
    "wait-top WYourName 10000\ntype Bench\nkey Return\n"
    "wait-top WTitle 5000\n";
const char* const TitleScript = "wait-top WTitle 10000\nwait 10\ndump\n";
const char* const IdleTitleScript = "wait-top WTitle 10000\nwait 2000\ndump\nwait 10000\ndump\n";
const char* const IdleBoardScript =
    "wait-top WTitle 10000\npress WTitle_BStartGame\nwait-top WSelectGameMode 5000\n"
    "press WSelectGameMode_BAction\nwait-top WInstructions 10000\n"
    "press WInstructions_TFPlay_BPlay\nwait 5000\nexpect-state gsGame\ndump\nwait 10000\ndump\n";

// A folder of the measurement's own, removed afterwards.
struct TScratch {
    TScratch() {
        std::string pattern = (fs::temp_directory_path() / "tervolin-cost-XXXXXX").string();
        Path = mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TScratch() {
        std::error_code error;
        if (!Path.empty()) fs::remove_all(Path, error);
    }
    std::string Path;
};

// A started child process with its standard output on a pipe.
struct TChild {
    pid_t Pid = -1;
    int Out = -1;
};

std::optional<TChild> Spawn(const std::vector<std::string>& args,
                            const std::vector<std::string>& environment, int extraFd = -1) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    if (extraFd >= 0) posix_spawn_file_actions_adddup2(&actions, extraFd, 3);
    std::vector<char*> argv, envp;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);
    TChild child;
    const int failed =
        posix_spawnp(&child.Pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (failed != 0) {
        close(pipeFds[0]);
        return std::nullopt;
    }
    child.Out = pipeFds[0];
    return child;
}

// Reads the child's output until a line starting with `prefix` arrives; false at its end or after
// `limit` of waiting.
bool WaitForLine(int fd, std::string& pending, const std::string& prefix, TClock::duration limit) {
    const TClock::time_point end = TClock::now() + limit;
    for (;;) {
        for (size_t start = 0, newline; (newline = pending.find('\n', start)) != std::string::npos;
             start = newline + 1) {
            if (pending.compare(start, prefix.size(), prefix) == 0) {
                pending.erase(0, newline + 1);
                return true;
            }
            if (newline + 1 == pending.size()) pending.clear();
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - TClock::now());
        if (left.count() <= 0) return false;
        pollfd wait{fd, POLLIN, 0};
        if (poll(&wait, 1, int(left.count())) <= 0) return false;
        char buffer[4096];
        const ssize_t got = read(fd, buffer, sizeof(buffer));
        if (got <= 0) return false;
        pending.append(buffer, size_t(got));
    }
}

int Finish(TChild& child) {
    close(child.Out);
    int status = 0;
    waitpid(child.Pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The process's user and system time in seconds.
double ProcessCpuSeconds(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The command name may hold spaces; the fields after it are counted from its closing ")".
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14) utime = std::stoull(field);
        if (index == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

class TCostRun {
  public:
    TCostRun(std::string game, std::string home) : game_(std::move(game)), home_(std::move(home)) {}

    void SetDisplay(std::string display) { display_ = std::move(display); }
    bool Windowed() const { return !display_.empty(); }

    std::string WriteScript(const std::string& name, const char* text) const {
        const std::string path = home_ + "/" + name + ".script";
        std::ofstream(path) << text;
        return path;
    }

    std::optional<TChild> Start(const std::string& script, bool headless) const {
        std::vector<std::string> args = {game_, "--script", script};
        if (headless) args.push_back("--headless");
        std::vector<std::string> environment;
        for (char** entry = environ; *entry; ++entry) {
            const std::string text = *entry;
            if (text.rfind("DISPLAY=", 0) != 0 && text.rfind("TERVOLIN_HOME=", 0) != 0 &&
                text.rfind("SDL_", 0) != 0)
                environment.push_back(text);
        }
        environment.push_back("TERVOLIN_HOME=" + home_ + "/home");
        environment.push_back("SDL_AUDIODRIVER=dummy");
        if (headless || display_.empty())
            environment.push_back("SDL_VIDEODRIVER=dummy");
        else
            environment.push_back("DISPLAY=" + display_);
        return Spawn(args, environment);
    }

    bool FirstRun() const {
        auto child = Start(WriteScript("first", FirstRunScript), true);
        return child && Finish(*child) == 0;
    }

    // Milliseconds from the start of the process to the first dump after the title's frame.
    std::optional<double> StartupToTitle() const {
        const std::string script = WriteScript("title", TitleScript);
        const TClock::time_point start = TClock::now();
        auto child = Start(script, true);
        if (!child) return std::nullopt;
        std::string pending;
        const bool seen = WaitForLine(child->Out, pending, "t=", std::chrono::seconds(30));
        const double ms = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
        const int code = Finish(*child);
        return seen && code == 0 ? std::optional<double>(ms) : std::nullopt;
    }

    // The processor share in percent between the script's two dumps.
    std::optional<double> IdleCpu(const char* name, const char* text) const {
        auto child = Start(WriteScript(name, text), !Windowed());
        if (!child) return std::nullopt;
        std::string pending;
        const auto limit = std::chrono::seconds(60);
        std::optional<double> share;
        if (WaitForLine(child->Out, pending, "t=", limit)) {
            const TClock::time_point start = TClock::now();
            const double cpuStart = ProcessCpuSeconds(child->Pid);
            if (WaitForLine(child->Out, pending, "t=", limit)) {
                const double cpu = ProcessCpuSeconds(child->Pid) - cpuStart;
                const double wall = std::chrono::duration<double>(TClock::now() - start).count();
                share = 100 * cpu / wall;
            }
        }
        return Finish(*child) == 0 ? share : std::nullopt;
    }

  private:
    std::string game_, home_, display_;
};

// A virtual X server on a free display, stopped when this goes.
class TVirtualDisplay {
  public:
    TVirtualDisplay() {
        int ready[2];
        if (pipe(ready) != 0) return;
        std::vector<std::string> environment;
        for (char** entry = environ; *entry; ++entry) environment.push_back(*entry);
        // -displayfd: the server picks a free display and writes its number when it is ready.
        auto child =
            Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                  environment, ready[1]);
        close(ready[1]);
        if (!child) {
            close(ready[0]);
            return;
        }
        server_ = *child;
        std::string number;
        pollfd wait{ready[0], POLLIN, 0};
        char buffer[32];
        while (poll(&wait, 1, 10000) > 0) {
            const ssize_t got = read(ready[0], buffer, sizeof(buffer));
            if (got <= 0) break;
            number.append(buffer, size_t(got));
            if (number.find('\n') != std::string::npos) break;
        }
        close(ready[0]);
        while (!number.empty() && (number.back() == '\n' || number.back() == '\r'))
            number.pop_back();
        if (!number.empty()) Display = ":" + number;
    }
    ~TVirtualDisplay() {
        if (server_.Pid <= 0) return;
        kill(server_.Pid, SIGTERM);
        Finish(server_);
    }
    std::string Display;  // empty when no server runs

  private:
    TChild server_;
};

}  // namespace

int PrintCostFigures() {
    TScratch scratch;
    if (scratch.Path.empty()) return 1;
    TCostRun run(TERVOLIN_GAME, scratch.Path);
    if (!run.FirstRun()) {
        std::fprintf(stderr, "the game did not run: %s\n", TERVOLIN_GAME);
        return 1;
    }
    std::optional<double> best;
    for (int attempt = 0; attempt < 3; ++attempt)
        if (const auto ms = run.StartupToTitle(); ms && (!best || *ms < *best)) best = ms;
    if (best) std::printf("startup-to-title-ms %.0f\n", *best);
    std::fflush(stdout);

    TVirtualDisplay display;
    run.SetDisplay(display.Display);
    std::fprintf(stderr, "idle figures %s\n",
                 display.Display.empty() ? "headless (no Xvfb)"
                                         : ("in a window on Xvfb " + display.Display).c_str());
    if (const auto title = run.IdleCpu("idle-title", IdleTitleScript))
        std::printf("idle-title-cpu-pct %.1f\n", *title);
    std::fflush(stdout);
    if (const auto board = run.IdleCpu("idle-board", IdleBoardScript))
        std::printf("idle-board-cpu-pct %.1f\n", *board);
    return best ? 0 : 1;
}
