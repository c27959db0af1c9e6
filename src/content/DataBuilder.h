// The data builder: turns the game's data sources (the folder data/ of the repository) into the
// archive the game reads. The archive is filled by a fixed list of steps, each adding its entries
// with TFileFolder::AddFile; the same sources always give the same bytes. Relies on TFileFolder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "resources/FileFolder.h"

struct TDataBuildStep {
    const char* Name;
    // Adds the step's entries to archive from the sources under dataDir; throws on a problem.
    void (*Run)(const std::string& dataDir, TFileFolder& archive);
};

// The files under root (sub-folders too; names starting with "." skipped), relative to root, in
// the byte order of their paths, so every step reads its sources in the same order everywhere.
std::vector<std::filesystem::path> SourceFiles(const std::filesystem::path& root);

// The steps in the order they run.
const std::vector<TDataBuildStep>& DataBuildSteps();

// Runs every step into a new archive and saves it (atomically) as outArchive. Throws
// std::runtime_error naming the failing step; outArchive is then left as it was.
void BuildData(const std::string& dataDir, const std::string& outArchive);

// The step "archive": every file under dataDir/archive/ (in sub-folders too, names starting with
// "." skipped) becomes an entry named by its base name with tag 1, in the byte order of the paths
// relative to that folder. Base names longer than 32 characters, base names that repeat
// (ignoring case) and names an earlier step added are errors.
void AddArchiveFolder(const std::string& dataDir, TFileFolder& archive);
// The step "effects": the effect files under dataDir/effects/, added the same way.
void AddEffectsFolder(const std::string& dataDir, TFileFolder& archive);
