// The data builder's steps and driver, over std::filesystem and TFileFolder.
#include "content/DataBuilder.h"

#include "content/FontBuilder.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <stdexcept>

#include "content/PicturesStep.h"
#include "content/Synth.h"
#include "content/XmText.h"
#include "core/TextCase.h"

namespace fs = std::filesystem;

std::vector<fs::path> SourceFiles(const fs::path& root) {
    std::vector<fs::path> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        if (it->path().filename().string().starts_with(".")) {
            if (it->is_directory()) it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file()) files.push_back(it->path().lexically_relative(root));
    }
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        return a.generic_string() < b.generic_string();
    });
    return files;
}

// Adds every file under dataDir/folder as an entry of its own name; notes for authors
// ("README.md") stay out of the archive.
static void AddPlainFolder(const std::string& dataDir, const char* folder, TFileFolder& archive) {
    const fs::path root = fs::path(dataDir) / folder;
    if (!fs::is_directory(root)) return;

    const std::vector<fs::path> files = SourceFiles(root);

    std::map<std::string, std::string> added;  // lower-cased entry name -> relative path
    for (const fs::path& file : files) {
        const std::string name = file.filename().string();
        if (name == "README.md") continue;
        const std::string relative = file.generic_string();
        if (name.size() > TFileFolder::MaxNameLength)
            throw std::runtime_error("entry name longer than 32 characters: " + relative);
        const auto [previous, isNew] = added.emplace(LowerCase(name), relative);
        if (!isNew)
            throw std::runtime_error("duplicate entry name " + name + ": " + previous->second +
                                     " and " + relative);
        if (archive.IndexOfFile(name) >= 0)
            throw std::runtime_error("entry " + name + " of " + relative +
                                     " is already in the archive");
        TMemoryStream source;
        source.LoadFromFile((root / file).string());
        archive.AddFile(name, 1, source);
    }
}

void AddArchiveFolder(const std::string& dataDir, TFileFolder& archive) {
    AddPlainFolder(dataDir, "archive", archive);
}

void AddEffectsFolder(const std::string& dataDir, TFileFolder& archive) {
    AddPlainFolder(dataDir, "effects", archive);
}

const std::vector<TDataBuildStep>& DataBuildSteps() {
    static const std::vector<TDataBuildStep> steps = {
        {"archive", &AddArchiveFolder}, {"effects", &AddEffectsFolder}, {"fonts", &AddFontsFolder},
        {"sounds", &AddSoundData},      {"music", &AddMusicData},       {"pictures", &AddPictures},
    };
    return steps;
}

void BuildData(const std::string& dataDir, const std::string& outArchive) {
    if (!fs::is_directory(dataDir)) throw std::runtime_error("not a data folder: " + dataDir);
    TFileFolder archive = TFileFolder::CreateEmpty(outArchive);
    for (const TDataBuildStep& step : DataBuildSteps()) {
        try {
            step.Run(dataDir, archive);
        } catch (const std::exception& error) {
            throw std::runtime_error(std::string("build-data step ") + step.Name + ": " +
                                     error.what());
        }
    }
    archive.Save();
}
