// Reading the game's command line.
#include "app/GameCommandLine.h"

#include <charconv>

std::optional<TGameCommandLine> ParseGameCommandLine(const std::vector<std::string>& args) {
    TGameCommandLine line;
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "--version")) {
        line.Action = args[0] == "--help" ? TGameCommandLine::Help : TGameCommandLine::Version;
        return line;
    }
    bool haveScript = false, haveFrames = false, haveSeed = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--headless" && !line.Headless) {
            line.Headless = true;
            continue;
        }
        if ((option == "--window" || option == "--fullscreen") && !line.FullScreen) {
            line.FullScreen = option == "--fullscreen" ? 1 : 0;
            continue;
        }
        if (i + 1 == args.size()) return std::nullopt;
        const std::string& value = args[++i];
        if (option == "--script" && !haveScript && !value.empty()) {
            line.Script = value;
            haveScript = true;
        } else if (option == "--frames" && !haveFrames && !value.empty()) {
            line.Frames = value;
            haveFrames = true;
        } else if (option == "--seed" && !haveSeed) {
            const char* end = value.data() + value.size();
            const auto [last, error] = std::from_chars(value.data(), end, line.Seed);
            if (error != std::errc() || last != end) return std::nullopt;
            haveSeed = true;
        } else {
            return std::nullopt;
        }
    }
    // The scripted mode's options only go with a script.
    if (!haveScript && (line.Headless || haveFrames || haveSeed)) return std::nullopt;
    return line;
}
