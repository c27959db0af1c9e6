// tervolin-tool install: expands a shipped archive into a working one exactly as the game's first
// start does (conversions by extension, image scripts), printing each progress text on its own
// line. Like the game, it leaves an existing destination alone.
#include <cstdio>
#include <filesystem>

#include "InstallCommand.h"
#include "ToolCommand.h"
#include "resources/PngMorf.h"

int RunArchiveConversion(const std::string& source, const std::string& dest) {
    std::error_code error;
    if (std::filesystem::exists(dest, error)) {
        std::printf("%s exists; nothing to do\n", dest.c_str());
        return 0;
    }
    TPNGMorf morf(90);
    morf.SetProgress([](const std::string& text, int) { std::printf("%s\n", text.c_str()); });
    morf.AddJob("Source=\"" + source + "\" Dest=\"" + dest + "\"");
    morf.Run();
    return 0;
}

static int RunInstall(const ToolArgs& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tervolin-tool install SOURCE DEST\n");
        return 2;
    }
    return RunArchiveConversion(args[0], args[1]);
}

static ToolCommand installCommand{"install", "install SOURCE DEST", &RunInstall};
