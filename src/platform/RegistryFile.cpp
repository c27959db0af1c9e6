// INI-file registry values and the atomic file replacement shared by every writer of user files.
#include "platform/RegistryFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

bool WriteFileAtomically(const std::string& fileName, const std::string& bytes) {
    const std::string temporary = fileName + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0) break;
        written += size_t(n);
    }
    const bool ok = written == bytes.size() && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !ok || std::rename(temporary.c_str(), fileName.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

TRegistryFile::TRegistryFile(std::string fileName) : fileName_(std::move(fileName)) {
    Load();
}

void TRegistryFile::Load() {
    std::ifstream file(fileName_);
    std::string line, section;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            sections_[section][line.substr(0, equals)] = line.substr(equals + 1);
    }
}

std::string TRegistryFile::Read(const std::string& key, const std::string& name) const {
    const auto section = sections_.find(key);
    if (section == sections_.end()) return "";
    const auto value = section->second.find(name);
    return value == section->second.end() ? "" : value->second;
}

bool TRegistryFile::Write(const std::string& key, const std::string& name,
                          const std::string& value) {
    // Line breaks would split the entry; they cannot be part of a value.
    std::string clean;
    for (char c : value)
        if (c != '\r' && c != '\n') clean += c;
    sections_[key][name] = clean;
    std::ostringstream text;
    for (const auto& [section, values] : sections_) {
        text << '[' << section << "]\n";
        for (const auto& [entry, entryValue] : values) text << entry << '=' << entryValue << '\n';
    }
    return WriteFileAtomically(fileName_, text.str());
}
