// TFileFolder: the resource archive holding every picture, description, font and sound of the
// game. The file is an 8-byte header (label 12345, version 0, count, complement of count), a
// directory of 48-byte entries and the entries' bytes back to back, all little-endian. Entries are
// read into memory streams on demand; the archive owns every stream and callers borrow them.
// The file is opened only inside an operation. Every field read from the file is checked: an
// archive made by anyone must give a clear error, never a crash or an unbounded allocation.
// Relies on TMemoryStream and its atomic file writer, and on the ASCII case-insensitive comparison
// of the path helpers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/MemoryStream.h"

class TFileFolder {
  public:
    static constexpr int16_t Label = 12345;
    static constexpr size_t HeaderSize = 8;
    static constexpr size_t DirSize = 48;
    static constexpr size_t MaxNameLength = 32;

    // One directory entry as stored in the file.
    struct TDir {
        std::string Name;    // at most 32 characters
        int32_t Offset = 0;  // from the start of the data area
        int32_t Size = 0;
        uint16_t EntryTag = 0;  // chosen by the writer, not interpreted when reading
    };

    enum TEntryState : int32_t {
        esLoaded = 0,     // read from the file into the stream
        esNotLoaded = 1,  // the stream is empty; the bytes are only in the file
        esAdded = 2,      // added by AddFile; the bytes are only in the stream until Save
    };

    // Reads the header and the directory of fileName. An archive that cannot be read (missing
    // file, short header, wrong label, version or sizing, short directory) has no entries and
    // keeps the reason in LastError(); Open itself never throws.
    static TFileFolder Open(const std::string& fileName);
    // A new archive without entries, to be filled with AddFile and written with Save.
    static TFileFolder CreateEmpty(const std::string& fileName);

    TFileFolder(TFileFolder&&) = default;
    TFileFolder& operator=(TFileFolder&&) = default;

    const std::string& FileName() const { return fileName_; }
    // Why Open failed ("Cannot open FileFolder (broked label)", ...); empty when it did not.
    const std::string& LastError() const { return lastError_; }
    int32_t DataStart() const { return dataStart_; }

    int Count() const { return int(entries_.size()); }
    const TDir& Entry(int index) const { return entries_.at(size_t(index)); }
    TEntryState State(int index) const { return files_.at(size_t(index)).State; }
    TMemoryStream& Stream(int index) { return *files_.at(size_t(index)).Stream; }

    // Index of the first entry whose name equals name ignoring ASCII case; -1 when none.
    int IndexOfFile(const std::string& name) const;
    // Reads the entry's bytes from the file into its stream (position 0) and marks it loaded.
    // Throws std::runtime_error "Cannot load file (wrong file name)" for an unknown name and
    // "Cannot load file (wrong file size)" (stream left empty) when the entry's offset or size
    // is negative or its data does not lie wholly inside the file.
    void LoadFile(const std::string& name);
    // LoadFile for every entry that is not loaded yet.
    void LoadAll();
    // Places the entries' data back to back in directory order.
    void UpdateOffsets();
    // Appends an entry holding a copy of the whole source (whatever its position). The name is cut
    // to 32 characters. Throws "Cannot add file (dublicate)" when an entry of that (cut) name
    // exists ignoring case.
    void AddFile(const std::string& name, uint16_t tag, const TMemoryStream& source);
    // Writes the whole archive to FileName() atomically: every entry is loaded first, the bytes go
    // to FileName() + ".part", which is fsynced and renamed over FileName(). Errors propagate and
    // leave the old file as it was.
    void Save();

    // The game's way to read an entry: the entry's stream, (re)loaded from the file unless it was
    // added, with its position at 0; nullptr when there is no such entry. Load errors propagate.
    TMemoryStream* FindFile(const std::string& name);

  private:
    struct TMemFiles {
        std::unique_ptr<TMemoryStream> Stream;
        TEntryState State;
    };

    explicit TFileFolder(const std::string& fileName) : fileName_(fileName) {}
    void ReadDirectory();
    void LoadEntry(int index);

    std::string fileName_;
    std::string lastError_;
    int32_t dataStart_ = HeaderSize;
    std::vector<TDir> entries_;
    std::vector<TMemFiles> files_;
};
