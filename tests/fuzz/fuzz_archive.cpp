// Fuzz target for the resource archive reader: any bytes written as an archive file must open,
// list and load (or refuse with an error) without crashing or allocating without bound.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "resources/FileFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = [] {
        const char* folder = std::getenv("TMPDIR");
        return std::string(folder && *folder ? folder : "/tmp") + "/tervolin-fuzz-archive-" +
               std::to_string(::getpid()) + ".zxc";
    }();
    // A plain write: the archive reads a file, and fsync on every input would slow fuzzing.
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    TFileFolder archive = TFileFolder::Open(path);
    for (int i = 0; i < archive.Count(); ++i) {
        const TFileFolder::TDir& entry = archive.Entry(i);
        if (archive.IndexOfFile(entry.Name) < 0) std::abort();  // every listed name is found
        try {
            archive.LoadFile(entry.Name);
        } catch (const std::runtime_error&) {
        }
    }
    ::unlink(path.c_str());
    return 0;
}
