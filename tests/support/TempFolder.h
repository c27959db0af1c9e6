// A fresh folder under the system's temporary folder, removed with the object.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;

  private:
    std::filesystem::path path_;
};
