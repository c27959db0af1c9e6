// TMemoryStream: a growable byte buffer with a read/write position, the in-memory stream that the
// archive's entries, the scrambler and the description loaders exchange. Also whole-file loading
// and atomic, durable whole-file replacement (temporary file, fsync, rename, fsync of the
// folder). Relies on POSIX file calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class TMemoryStream {
  public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    explicit TMemoryStream(const std::string& text) : bytes_(text.begin(), text.end()) {}

    size_t Size() const { return bytes_.size(); }
    size_t Position() const { return position_; }
    // The position may lie past the end: reads then give nothing, a write fills the gap with zeros.
    void SetPosition(size_t position) { position_ = position; }
    // Cuts or zero-extends the content; the position is kept within the new size.
    void SetSize(size_t size);
    // Releases the content: size and position 0.
    void Clear();

    // Copies up to count bytes from the position on and advances it; answers the bytes copied.
    size_t Read(void* buffer, size_t count);
    // Writes count bytes at the position (growing the content as needed) and advances it.
    void Write(const void* buffer, size_t count);

    uint8_t* Memory() { return bytes_.data(); }
    const uint8_t* Memory() const { return bytes_.data(); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::string ToString() const { return std::string(bytes_.begin(), bytes_.end()); }

    // Replaces the content with the whole file; position 0. Throws std::system_error with the
    // file name and the system's reason when the file cannot be read.
    void LoadFromFile(const std::string& path);
    // Writes the whole content to path atomically (see WriteFileAtomically).
    void SaveToFile(const std::string& path) const;

  private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

// Writes the pieces one after another to path + ".part" in the same folder, flushes and fsyncs
// it, renames it over path and fsyncs the folder, so that path holds either its old content or
// the whole new one, also after a crash or a power cut. When writing fails the temporary file is
// removed, the old file is left as it was and std::system_error is thrown; when only the final
// sync of the folder fails, the new content is in place (but may not survive a power cut) and
// std::system_error is thrown as well.
void WriteFileAtomically(const std::string& path, std::span<const std::span<const uint8_t>> pieces);
// Replaces `fileName` atomically with the text as WriteFileAtomically does; false when that
// fails, with errno telling why.
bool WriteTextFileAtomically(const std::string& fileName, const std::string& text);
