// The working copy of the archive.
#include "app/WorkingArchive.h"

#include <filesystem>

#include "app/GameFolders.h"
#include "core/KelException.h"

namespace fs = std::filesystem;

std::unique_ptr<TFileFolder> InstallWorkingArchive(const std::string& distributedPath,
                                                   const std::string& workingPath) {
    std::error_code error;
    if (!fs::exists(workingPath, error)) {
        EnsureFolder(fs::path(workingPath).parent_path().string());
        TFileFolder source = TFileFolder::Open(distributedPath);
        if (!source.LastError().empty())
            throw KelException("Cannot install " + source.FileName() + ": " + source.LastError());
        TFileFolder copy = TFileFolder::CreateEmpty(workingPath);
        for (int i = 0; i < source.Count(); ++i) {
            const TFileFolder::TDir& entry = source.Entry(i);
            source.LoadFile(entry.Name);
            copy.AddFile(entry.Name, entry.EntryTag, source.Stream(i));
            source.Stream(i).Clear();
        }
        copy.Save();
    }
    return std::make_unique<TFileFolder>(TFileFolder::Open(workingPath));
}
