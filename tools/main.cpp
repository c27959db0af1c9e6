// tervolin-tool: archive, XML and save-file utilities, the data builder and the data checker.
#include <cstdio>
#include <cstring>
#include <exception>

#include "ToolCommand.h"
#include "graphics/GraphicsClasses.h"
#include "ui/InterfaceClasses.h"

static std::vector<const ToolCommand*>& Registry() {
    static std::vector<const ToolCommand*> commands;
    return commands;
}

ToolCommand::ToolCommand(const char* name, const char* usage, ToolRun run)
    : Name(name), Usage(usage), Run(run) {
    Registry().push_back(this);
}

const std::vector<const ToolCommand*>& ToolCommands() {
    return Registry();
}

static int PrintUsage() {
    std::fprintf(stderr, "usage: tervolin-tool COMMAND ARGS...\n");
    for (const ToolCommand* command : ToolCommands())
        std::fprintf(stderr, "  %s\n", command->Usage);
    return 2;
}

int main(int argc, char** argv) {
    if (argc < 2) return PrintUsage();
    RegisterGraphicsClasses();
    RegisterInterfaceClasses();
    for (const ToolCommand* command : ToolCommands()) {
        if (std::strcmp(command->Name, argv[1]) != 0) continue;
        try {
            return command->Run(ToolArgs(argv + 2, argv + argc));
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s\n", error.what());
            return 1;
        }
    }
    return PrintUsage();
}
