// System services on SDL2 and POSIX: the tick clock, dialogs, clipboard, links, registry values
// in "registry.ini" of the user folder, disk space and the machine description.
#pragma once

#include <functional>
#include <optional>

#include "platform/Platform.h"
#include "platform/RegistryFile.h"

class SdlSystem : public ISystem {
  public:
    using LogSink = std::function<void(const std::string&)>;
    // `userFolder` holds registry.ini; `log` receives texts of failures that are only logged.
    SdlSystem(const std::string& userFolder, LogSink log);
    uint32_t Ticks() override;
    void Sleep(uint32_t milliseconds) override;
    uint64_t RandomSeed() override;
    bool MessageBox(const std::string& caption, const std::string& text) override;
    std::string ClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    bool OpenLink(const std::string& link) override;
    std::string RegistryValue(const std::string& key, const std::string& name) override;
    bool SetRegistryValue(const std::string& key, const std::string& name,
                          const std::string& value) override;
    int64_t FreeDiskMb(const std::string& path) override;
    TMachineInfo MachineInfo() override;
    // From now on RandomSeed answers `seed`, so that a run replays.
    void FixSeed(uint64_t seed) { fixedSeed_ = seed; }

  private:
    TRegistryFile registry_;
    LogSink log_;
    std::optional<uint64_t> fixedSeed_;
};

// Free megabytes of the file system holding `path`; -1 when the query fails.
int64_t QueryFreeDiskMb(const std::string& path);

// The game's clock: a fixed base plus milliseconds since start, so that "now minus a few
// minutes" stays positive and far from the 32-bit wrap.
constexpr uint32_t TickBase = 10000000;
