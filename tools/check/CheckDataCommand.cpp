// tervolin-tool check-data: the content's linter. Opens an archive and runs every check on it,
// printing each problem found on its own line; the exit code is 1 when there was any. Each kind
// of content adds its check to the list, loading its descriptions with the engine's own loaders.
#include <cstdio>
#include <string>

#include "ToolCommand.h"
#include "app/SoundEvents.h"
#include "check/CheckData.h"

struct TDataCheck {
    const char* Name;
    void (*Run)(TFileFolder& archive, TProblems& problems);
};

static const TDataCheck Checks[] = {
    {"entries load", &CheckEntriesLoad},
    {"entry names", &CheckEntryNames},
    {"piece types and levels", &CheckTypesAndLevels},
    {"fonts", &CheckFonts},
    {"sounds", &CheckSoundData},
    {"screen effects and pictures", &CheckScreenContent},
    {"interface", &CheckInterface},
};

static int RunCheckData(const ToolArgs& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tervolin-tool check-data ARCHIVE\n");
        return 2;
    }
    TFileFolder archive = TFileFolder::Open(args[0]);
    TProblems problems;
    if (!archive.LastError().empty()) {
        problems.push_back(archive.LastError());
    } else {
        for (const TDataCheck& check : Checks) {
            try {
                check.Run(archive, problems);
            } catch (const std::exception& error) {
                problems.push_back(std::string(check.Name) + ": " + error.what());
            }
        }
    }
    for (const std::string& problem : problems) std::printf("%s\n", problem.c_str());
    return problems.empty() ? 0 : 1;
}

static ToolCommand checkDataCommand{"check-data", "check-data ARCHIVE", &RunCheckData};
