// Named text values kept across runs in a small INI file: "[key]" sections of "name=value"
// lines. A missing file, section or name reads as "". The file is replaced atomically.
#pragma once

#include <map>
#include <string>

class TRegistryFile {
  public:
    explicit TRegistryFile(std::string fileName);
    std::string Read(const std::string& key, const std::string& name) const;
    // Stores the value and writes the file; false when it could not be written.
    bool Write(const std::string& key, const std::string& name, const std::string& value);

  private:
    void Load();
    std::string fileName_;
    std::map<std::string, std::map<std::string, std::string>> sections_;
};
