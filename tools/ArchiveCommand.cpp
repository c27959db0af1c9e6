// tervolin-tool archive: lists, extracts and packs resource archives with the engine's own
// TFileFolder, so modders see exactly what the game sees. Every error is the archive's own text.
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "ToolCommand.h"
#include "resources/FileFolder.h"

static TFileFolder OpenOrFail(const std::string& path) {
    TFileFolder archive = TFileFolder::Open(path);
    if (!archive.LastError().empty()) throw std::runtime_error(archive.LastError());
    return archive;
}

static int List(const std::string& path) {
    TFileFolder archive = OpenOrFail(path);
    for (int i = 0; i < archive.Count(); ++i) {
        const TFileFolder::TDir& entry = archive.Entry(i);
        std::printf("%s\t%d\t%u\n", entry.Name.c_str(), entry.Size, unsigned(entry.EntryTag));
    }
    return 0;
}

static int Extract(const std::string& path, const std::string& name, const std::string* out) {
    TFileFolder archive = OpenOrFail(path);
    archive.LoadFile(name);
    const TMemoryStream& stream = archive.Stream(archive.IndexOfFile(name));
    if (out) {
        stream.SaveToFile(*out);
    } else if (std::fwrite(stream.Memory(), 1, stream.Size(), stdout) != stream.Size() ||
               std::fflush(stdout) != 0) {
        throw std::runtime_error("Cannot write to standard output");
    }
    return 0;
}

static int Pack(const std::string& path, const ToolArgs& files) {
    TFileFolder archive = TFileFolder::CreateEmpty(path);
    for (const std::string& file : files) {
        TMemoryStream source;
        source.LoadFromFile(file);
        archive.AddFile(std::filesystem::path(file).filename().string(), 1, source);
    }
    archive.Save();
    return 0;
}

static int RunArchive(const ToolArgs& args) {
    const std::string action = args.empty() ? "" : args[0];
    if (action == "list" && args.size() == 2) return List(args[1]);
    if (action == "extract" && (args.size() == 3 || args.size() == 4))
        return Extract(args[1], args[2], args.size() == 4 ? &args[3] : nullptr);
    if (action == "pack" && args.size() >= 2)
        return Pack(args[1], ToolArgs(args.begin() + 2, args.end()));
    std::fprintf(stderr,
                 "usage: tervolin-tool archive list ARCHIVE\n"
                 "       tervolin-tool archive extract ARCHIVE NAME [OUT]\n"
                 "       tervolin-tool archive pack ARCHIVE FILE...\n");
    return 2;
}

static ToolCommand archiveCommand{
    "archive", "archive list ARCHIVE | extract ARCHIVE NAME [OUT] | pack ARCHIVE FILE...",
    &RunArchive};
