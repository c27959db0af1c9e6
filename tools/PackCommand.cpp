// tervolin-tool pack: the install conversions run on an expanded archive. Each expanded form
// converts back to its packed one ("PNG" to "._JPG" + "._PNG", "PnG" to "._PnG" + ".jpg", "aim" to
// "._aim"), and pictures made by scripts (".pNg") are dropped; other entries are copied.
#include <cstdio>

#include "InstallCommand.h"
#include "ToolCommand.h"

static int RunPack(const ToolArgs& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tervolin-tool pack SOURCE DEST\n");
        return 2;
    }
    return RunArchiveConversion(args[0], args[1]);
}

static ToolCommand packCommand{"pack", "pack SOURCE DEST", &RunPack};
