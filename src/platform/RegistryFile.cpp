// INI-file registry values.
#include "platform/RegistryFile.h"

#include <fstream>
#include <sstream>

#include "core/MemoryStream.h"

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
    return WriteTextFileAtomically(fileName_, text.str());
}
