// Sub-commands of tervolin-tool. Each command lives in its own file and registers itself with a
// static ToolCommand object:  static ToolCommand cmd{"name", "usage text", &RunName};
#pragma once

#include <string>
#include <vector>

using ToolArgs = std::vector<std::string>;
using ToolRun = int (*)(const ToolArgs& args);  // args exclude the tool and command names

struct ToolCommand {
    ToolCommand(const char* name, const char* usage, ToolRun run);
    const char* Name;
    const char* Usage;
    ToolRun Run;
};

const std::vector<const ToolCommand*>& ToolCommands();
