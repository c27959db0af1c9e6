// The working copy of the game's archive: made from the distributed "game.zxc" on the first
// start by the install job (conversions by file-name extension, image scripts; written
// atomically) and opened on every start. Relies on TFileFolder and TPNGMorf.
#pragma once

#include <memory>
#include <string>

#include "resources/FileFolder.h"
#include "resources/PngMorf.h"

// Opens the working copy at `workingPath`, first making it from `distributedPath` when it does
// not exist. A distributed archive that cannot be read raises KelException and copies nothing,
// so an empty working copy never hides the problem on later starts.
// `progress` receives the install job's status texts and percentages while it runs.
std::unique_ptr<TFileFolder> InstallWorkingArchive(const std::string& distributedPath,
                                                   const std::string& workingPath,
                                                   TPNGMorf::TProgress progress = {});
