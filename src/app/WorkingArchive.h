// The working copy of the game's archive: made from the distributed "game.zxc" by the install job
// (conversions by file-name extension, image scripts; written atomically) and opened on every
// start. A stamp file beside the copy records what it was made from (the distributed archive's
// size, modification time and a hash of its bytes), so a copy made from another distributed
// archive (an upgrade of the game) is made again, while an unchanged one is reused. Relies on
// TFileFolder and TPNGMorf.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "resources/FileFolder.h"
#include "resources/PngMorf.h"

// The stamp of a distributed archive as one line of text; raises KelException when the file
// cannot be read.
std::string DistributedArchiveStamp(const std::string& distributedPath);

// The stamp file beside a working copy.
std::string WorkingArchiveStampPath(const std::string& workingPath);

// Opens the working copy at `workingPath`, first making it from `distributedPath` when it does
// not exist or its stamp is missing or names another distributed archive. A distributed archive
// that cannot be read raises KelException and copies nothing, so an empty working copy never
// hides the problem on later starts; a working copy that exists is opened as it is when the
// distributed archive cannot be read. `progress` receives the install job's status texts and
// percentages while it runs; `log` hears whether the copy was made, and why, or reused.
std::unique_ptr<TFileFolder> InstallWorkingArchive(
    const std::string& distributedPath, const std::string& workingPath,
    TPNGMorf::TProgress progress = {}, const std::function<void(const std::string&)>& log = {});
