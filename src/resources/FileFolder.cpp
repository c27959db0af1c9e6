// The resource archive over POSIX file calls; see FileFolder.h for the format.
#include "resources/FileFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "core/KelParserText.h"
#include "platform/Paths.h"

namespace {

// A file descriptor closed when it goes out of scope, so that every path out of an operation
// closes the file.
class TFileHandle {
  public:
    explicit TFileHandle(const std::string& path)
        : FFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~TFileHandle() {
        if (FFd >= 0) ::close(FFd);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;

    bool IsOpen() const { return FFd >= 0; }
    int64_t Length() const {
        struct stat info {};
        return ::fstat(FFd, &info) == 0 ? int64_t(info.st_size) : -1;
    }
    // Reads up to count bytes at offset; answers the bytes read (fewer at the end of the file),
    // or -1 on a read error.
    int64_t ReadAt(void* buffer, size_t count, int64_t offset) const {
        size_t done = 0;
        while (done < count) {
            const ssize_t n = ::pread(FFd, static_cast<char*>(buffer) + done, count - done,
                                      off_t(offset + int64_t(done)));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return -1;
            if (n == 0) break;
            done += size_t(n);
        }
        return int64_t(done);
    }

  private:
    int FFd;
};

uint16_t GetU16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
int32_t GetI32(const uint8_t* p) {
    return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                   (uint32_t(p[3]) << 24));
}
void PutU16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void PutI32(uint8_t* p, int32_t v) {
    const uint32_t u = uint32_t(v);
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(u >> (8 * i));
}

std::string SystemError(const char* what) {
    return std::string(what) + std::strerror(errno);
}

}  // namespace

TFileFolder TFileFolder::Open(const std::string& fileName) {
    TFileFolder folder(fileName);
    try {
        folder.ReadDirectory();
    } catch (const std::exception& error) {
        // An archive that does not open behaves as one without entries.
        folder.entries_.clear();
        folder.files_.clear();
        folder.dataStart_ = HeaderSize;
        folder.lastError_ = error.what();
    }
    return folder;
}

TFileFolder TFileFolder::CreateEmpty(const std::string& fileName) {
    return TFileFolder(fileName);
}

void TFileFolder::ReadDirectory() {
    const TFileHandle file(fileName_);
    if (!file.IsOpen()) throw std::runtime_error(SystemError("Cannot open FileFolder (") + ")");
    uint8_t header[HeaderSize];
    const int64_t headerRead = file.ReadAt(header, HeaderSize, 0);
    if (headerRead < 0) throw std::runtime_error(SystemError("Cannot open FileFolder (") + ")");
    if (headerRead < int64_t(HeaderSize))
        throw std::runtime_error("Cannot open FileFolder (wrong file size)");
    if (int16_t(GetU16(header)) != Label)
        throw std::runtime_error("Cannot open FileFolder (broked label)");
    if (GetU16(header + 2) > 0) throw std::runtime_error("Cannot open FileFolder (wrong version)");
    const uint16_t count = GetU16(header + 4);
    if (uint16_t(~count) != GetU16(header + 6))
        throw std::runtime_error("Cannot open FileFolder (wrong sizing)");

    std::vector<uint8_t> directory(DirSize * count);
    if (file.ReadAt(directory.data(), directory.size(), HeaderSize) != int64_t(directory.size()))
        throw std::runtime_error("Cannot open Dir (wrong size)");
    entries_.resize(count);
    files_.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* raw = directory.data() + DirSize * i;
        TDir& entry = entries_[i];
        // A length byte above 32 would run into the padding and the offset.
        const size_t length = std::min<size_t>(raw[0], MaxNameLength);
        entry.Name.assign(reinterpret_cast<const char*>(raw + 1), length);
        entry.Offset = GetI32(raw + 36);
        entry.Size = GetI32(raw + 40);
        entry.EntryTag = GetU16(raw + 44);
        files_[i] = {std::make_unique<TMemoryStream>(), esNotLoaded};
    }
    dataStart_ = int32_t(HeaderSize + DirSize * count);
}

int TFileFolder::IndexOfFile(const std::string& name) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (SameText(entries_[i].Name, name)) return int(i);
    return -1;
}

void TFileFolder::LoadFile(const std::string& name) {
    const int index = IndexOfFile(name);
    if (index < 0) throw std::runtime_error("Cannot load file (wrong file name)");
    LoadEntry(index);
}

void TFileFolder::LoadEntry(int index) {
    const TDir& entry = entries_[size_t(index)];
    TMemFiles& file = files_[size_t(index)];
    const TFileHandle handle(fileName_);
    if (!handle.IsOpen()) throw std::runtime_error(SystemError("Cannot load file (") + ")");
    file.Stream->Clear();
    // Checked before anything is allocated: the directory comes from outside.
    const int64_t start = int64_t(dataStart_) + entry.Offset;
    if (entry.Size < 0 || entry.Offset < 0 || start + entry.Size > handle.Length())
        throw std::runtime_error("Cannot load file (wrong file size)");
    file.Stream->SetSize(size_t(entry.Size));
    if (handle.ReadAt(file.Stream->Memory(), size_t(entry.Size), start) != entry.Size) {
        file.Stream->Clear();
        throw std::runtime_error("Cannot load file (wrong file size)");
    }
    file.Stream->SetPosition(0);
    file.State = esLoaded;
}

void TFileFolder::LoadAll() {
    for (int i = 0; i < Count(); ++i)
        if (files_[size_t(i)].State == esNotLoaded) LoadEntry(i);
}

void TFileFolder::UpdateOffsets() {
    dataStart_ = int32_t(HeaderSize + DirSize * entries_.size());
    int64_t offset = 0;
    for (TDir& entry : entries_) {
        entry.Offset = int32_t(offset);
        offset += entry.Size;
    }
    // Offsets and sizes are signed 32-bit in the file.
    if (offset > std::numeric_limits<int32_t>::max())
        throw std::runtime_error("Cannot save FileFolder (too big)");
}

void TFileFolder::AddFile(const std::string& name, uint16_t tag, const TMemoryStream& source) {
    const std::string stored = name.substr(0, MaxNameLength);
    // The cut name is what a later look-up compares with, so it is what must be unique.
    if (IndexOfFile(stored) >= 0) throw std::runtime_error("Cannot add file (dublicate)");
    // The count is a 16-bit field and sizes are signed 32-bit.
    if (entries_.size() >= std::numeric_limits<uint16_t>::max())
        throw std::runtime_error("Cannot add file (too many files)");
    if (source.Size() > size_t(std::numeric_limits<int32_t>::max()))
        throw std::runtime_error("Cannot add file (too big)");
    entries_.push_back({stored, 0, int32_t(source.Size()), tag});
    files_.push_back({std::make_unique<TMemoryStream>(source.Bytes()), esAdded});
}

void TFileFolder::Save() {
    LoadAll();
    // The directory describes the bytes actually written, even when a caller resized a stream.
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (files_[i].Stream->Size() > size_t(std::numeric_limits<int32_t>::max()))
            throw std::runtime_error("Cannot save FileFolder (too big)");
        entries_[i].Size = int32_t(files_[i].Stream->Size());
    }
    UpdateOffsets();
    const uint16_t count = uint16_t(entries_.size());
    std::vector<uint8_t> head(HeaderSize + DirSize * count, 0);
    PutU16(head.data(), uint16_t(Label));
    PutU16(head.data() + 2, 0);
    PutU16(head.data() + 4, count);
    PutU16(head.data() + 6, uint16_t(~count));
    for (size_t i = 0; i < count; ++i) {
        uint8_t* raw = head.data() + HeaderSize + DirSize * i;
        const TDir& entry = entries_[i];
        raw[0] = uint8_t(entry.Name.size());
        std::memcpy(raw + 1, entry.Name.data(), entry.Name.size());
        PutI32(raw + 36, entry.Offset);
        PutI32(raw + 40, entry.Size);
        PutU16(raw + 44, entry.EntryTag);
    }
    std::vector<std::span<const uint8_t>> pieces{head};
    for (const TMemFiles& file : files_) {
        file.Stream->SetPosition(0);
        pieces.emplace_back(file.Stream->Bytes());
    }
    WriteFileAtomically(fileName_, pieces);
}

TMemoryStream* TFileFolder::FindFile(const std::string& name) {
    const int index = IndexOfFile(name);
    if (index < 0) return nullptr;
    if (files_[size_t(index)].State != esAdded) LoadEntry(index);
    TMemoryStream* stream = files_[size_t(index)].Stream.get();
    stream->SetPosition(0);
    return stream;
}
