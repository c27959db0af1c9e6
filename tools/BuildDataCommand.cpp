// tervolin-tool build-data: packs the game's data sources into the archive the game reads.
#include <cstdio>

#include "ToolCommand.h"
#include "content/DataBuilder.h"

static int RunBuildData(const ToolArgs& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tervolin-tool build-data DATA_DIR OUT_ARCHIVE\n");
        return 2;
    }
    BuildData(args[0], args[1]);
    return 0;
}

static ToolCommand buildDataCommand{"build-data", "build-data DATA_DIR OUT_ARCHIVE", &RunBuildData};
