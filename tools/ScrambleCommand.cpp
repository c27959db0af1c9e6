// tervolin-tool scramble: applies the save-file block transformation to a file with a key; the
// same command with the same key gives the original back. The output is replaced atomically, so
// IN and OUT may be the same file.
#include <cstdio>

#include "ToolCommand.h"
#include "app/CUnit.h"

static int RunScramble(const ToolArgs& args) {
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tervolin-tool scramble KEY IN OUT\n");
        return 2;
    }
    TMemoryStream source, destination;
    source.LoadFromFile(args[1]);
    ScrambleStream(source, destination, args[0]);
    destination.SaveToFile(args[2]);
    return 0;
}

static ToolCommand scrambleCommand{"scramble", "scramble KEY IN OUT", &RunScramble};
