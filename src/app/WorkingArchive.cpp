// The working copy of the archive.
#include "app/WorkingArchive.h"

#include <sys/stat.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "core/KelException.h"
#include "core/MemoryStream.h"
#include "resources/PngMorf.h"

namespace fs = std::filesystem;

namespace {

// FNV-1a over the bytes, 64 bits: enough to tell two builds of the archive apart.
uint64_t Fnv1a64(const std::vector<uint8_t>& bytes) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (const uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

// The stamp kept beside the working copy; empty when there is none.
std::string ReadStamp(const std::string& path) {
    try {
        TMemoryStream stream;
        stream.LoadFromFile(path);
        return std::string(stream.Bytes().begin(), stream.Bytes().end());
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

std::string DistributedArchiveStamp(const std::string& distributedPath) {
    TMemoryStream bytes;
    struct stat info {};
    try {
        bytes.LoadFromFile(distributedPath);
    } catch (const std::exception& failure) {
        throw KelException(failure.what());
    }
    if (::stat(distributedPath.c_str(), &info) != 0)
        throw KelException("Cannot stat " + distributedPath);
    char stamp[128];
    std::snprintf(stamp, sizeof stamp, "size=%zu mtime=%lld.%09ld fnv1a64=%016" PRIx64 "\n",
                  bytes.Bytes().size(), (long long)info.st_mtim.tv_sec, info.st_mtim.tv_nsec,
                  Fnv1a64(bytes.Bytes()));
    return stamp;
}

std::string WorkingArchiveStampPath(const std::string& workingPath) {
    return workingPath + ".stamp";
}

std::unique_ptr<TFileFolder> InstallWorkingArchive(
    const std::string& distributedPath, const std::string& workingPath,
    TPNGMorf::TProgress progress, const std::function<void(const std::string&)>& log) {
    const auto say = [&log](const std::string& line) {
        if (log) log(line);
    };
    const std::string stampPath = WorkingArchiveStampPath(workingPath);
    std::error_code error;
    const bool exists = fs::exists(workingPath, error);
    std::string stamp;
    try {
        stamp = DistributedArchiveStamp(distributedPath);
    } catch (const KelException&) {
        if (!exists) throw;  // nothing to install from
        say("The game's archive cannot be read: the working archive is used as it is");
        return std::make_unique<TFileFolder>(TFileFolder::Open(workingPath));
    }
    const std::string recorded = exists ? ReadStamp(stampPath) : std::string();
    if (exists && recorded == stamp) {
        say("Working archive is up to date");
    } else {
        say(!exists            ? "Working archive made"
            : recorded.empty() ? "Working archive made again: it had no stamp"
                               : "Working archive made again: the game's archive changed");
        // The install job never replaces an archive that exists.
        if (exists) fs::remove(workingPath, error);
        TPNGMorf install(90);
        install.SetProgress(std::move(progress));
        install.AddJob("Source=\"" + distributedPath + "\" Dest=\"" + workingPath + "\"");
        try {
            install.Run();
        } catch (const std::exception& failure) {
            throw KelException(failure.what());
        }
        // Written after the copy, so a copy cut short is made again at the next start.
        if (!WriteTextFileAtomically(stampPath, stamp))
            say("Cannot write " + stampPath + ": the working archive will be made again");
    }
    return std::make_unique<TFileFolder>(TFileFolder::Open(workingPath));
}
