// The working copy of the archive.
#include "app/WorkingArchive.h"

#include <filesystem>
#include <stdexcept>

#include "core/KelException.h"
#include "resources/PngMorf.h"

namespace fs = std::filesystem;

std::unique_ptr<TFileFolder> InstallWorkingArchive(const std::string& distributedPath,
                                                   const std::string& workingPath,
                                                   TPNGMorf::TProgress progress) {
    std::error_code error;
    if (!fs::exists(workingPath, error)) {
        TPNGMorf install(90);
        install.SetProgress(std::move(progress));
        install.AddJob("Source=\"" + distributedPath + "\" Dest=\"" + workingPath + "\"");
        try {
            install.Run();
        } catch (const std::exception& failure) {
            throw KelException(failure.what());
        }
    }
    return std::make_unique<TFileFolder>(TFileFolder::Open(workingPath));
}
