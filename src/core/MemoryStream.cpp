// In-memory byte stream and whole-file reading and atomic replacement over POSIX calls.
#include "core/MemoryStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <system_error>

void TMemoryStream::SetSize(size_t size) {
    bytes_.resize(size);
    position_ = std::min(position_, size);
}

void TMemoryStream::Clear() {
    std::vector<uint8_t>().swap(bytes_);
    position_ = 0;
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
    if (position_ >= bytes_.size()) return 0;
    const size_t n = std::min(count, bytes_.size() - position_);
    if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0) return;
    if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ += count;
}

// The failure with the system's reason, also as an error code for callers that tell it apart.
static std::system_error FileError(const std::string& what, const std::string& path, int error) {
    return std::system_error(error, std::generic_category(), what + " " + path);
}

void TMemoryStream::LoadFromFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw FileError("Cannot read", path, errno);
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw FileError("Cannot read", path, error);
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    bytes_ = std::move(bytes);
    position_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& path) const {
    const std::span<const uint8_t> whole(bytes_);
    WriteFileAtomically(path, std::span(&whole, 1));
}

static bool WriteAll(int fd, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        bytes = bytes.subspan(size_t(n));
    }
    return true;
}

// Flushes the entries of the folder holding path to the disk. A file system that cannot sync a
// folder (EINVAL) has nothing to flush.
static bool SyncFolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

void WriteFileAtomically(const std::string& path,
                         std::span<const std::span<const uint8_t>> pieces) {
    const std::string temporary = path + ".part";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw FileError("Cannot write", temporary, errno);
    bool written = true;
    for (std::span<const uint8_t> piece : pieces) {
        if (!(written = WriteAll(fd, piece))) break;
    }
    if (written) written = ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        throw FileError("Cannot write", path, error);
    }
    // The rename lives in the folder's entries: until they reach the disk, a power cut can still
    // bring back the old file, or none.
    if (!SyncFolderOf(path)) throw FileError("Cannot sync the folder of", path, errno);
}

bool WriteTextFileAtomically(const std::string& fileName, const std::string& text) {
    try {
        const std::span<const uint8_t> whole(reinterpret_cast<const uint8_t*>(text.data()),
                                             text.size());
        WriteFileAtomically(fileName, std::span(&whole, 1));
        return true;
    } catch (const std::system_error& failure) {
        errno = failure.code().value();
        return false;
    }
}
