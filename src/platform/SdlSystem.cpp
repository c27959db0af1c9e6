// SDL2/POSIX system services.
#include "platform/SdlSystem.h"

#include <SDL2/SDL.h>
#include <spawn.h>
#include <sys/statvfs.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "platform/MachineInfo.h"
#include "platform/Paths.h"

extern char** environ;

SdlSystem::SdlSystem(const std::string& userFolder, LogSink log)
    : registry_(JoinPath(userFolder, "registry.ini")), log_(std::move(log)) {}

uint32_t SdlSystem::Ticks() {
    return TickBase + uint32_t(SDL_GetTicks64());
}

void SdlSystem::Sleep(uint32_t milliseconds) {
    SDL_Delay(milliseconds);
}

uint64_t SdlSystem::RandomSeed() {
    if (fixedSeed_) return *fixedSeed_;
    return uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
}

bool SdlSystem::MessageBox(const std::string& caption, const std::string& text) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) == 0)
        return true;
    if (log_) log_("Message box not shown: " + text);
    return false;
}

std::string SdlSystem::ClipboardText() {
    char* text = SDL_GetClipboardText();
    std::string result = text ? text : "";
    SDL_free(text);
    return result;
}

void SdlSystem::SetClipboardText(const std::string& text) {
    SDL_SetClipboardText(text.c_str());
}

bool SdlSystem::OpenLink(const std::string& link) {
    // Started directly with the link as its only argument: no shell ever sees the text.
    char program[] = "xdg-open";
    std::string argument = link;
    char* argv[] = {program, argument.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0) {
        if (log_) log_("Cannot start xdg-open for " + link);
        return false;
    }
    // Some desktops keep xdg-open running while the page is open: reap it on a thread of its
    // own so the game never waits and no zombie stays behind.
    std::thread([child] {
        int status = 0;
        waitpid(child, &status, 0);
    }).detach();
    return true;
}

std::string SdlSystem::RegistryValue(const std::string& key, const std::string& name) {
    return registry_.Read(key, name);
}

bool SdlSystem::SetRegistryValue(const std::string& key, const std::string& name,
                                 const std::string& value) {
    return registry_.Write(key, name, value);
}

int64_t QueryFreeDiskMb(const std::string& path) {
    struct statvfs info {};
    if (statvfs(path.empty() ? "." : path.c_str(), &info) != 0) return -1;
    return int64_t((uint64_t(info.f_bavail) * uint64_t(info.f_frsize)) >> 20);
}

int64_t SdlSystem::FreeDiskMb(const std::string& path) {
    return QueryFreeDiskMb(path);
}

TMachineInfo SdlSystem::MachineInfo() {
    return {GetOSDescription(), GetProcessorDescription(), TotalMemoryMb()};
}
