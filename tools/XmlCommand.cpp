// tervolin-tool xml FILE: reads a description file as the game does and writes what the game
// would write back for it, so authors can check how their file is read. The problems that reading
// passes over silently go to standard error. Relies on KelParser.
#include <cstdio>
#include <iostream>

#include "ToolCommand.h"
#include "core/KelParser.h"

static int RunXml(const ToolArgs& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tervolin-tool xml FILE\n");
        return 2;
    }
    TKelParser doc;
    doc.LoadFromFile(args[0]);
    for (const std::string& warning : doc.Warnings) std::cerr << warning << '\n';
    doc.SaveToStream(std::cout);
    std::cout.flush();
    return std::cout ? 0 : 1;
}

static ToolCommand command{"xml", "xml FILE  -- writes FILE as the game reads and saves it",
                           &RunXml};
