// INI text files: "[section]" headings and "key=value" lines. Keys and sections compare without
// regard to ASCII case. Writing a key replaces its value where it stands or adds it at the end
// of its section (a new section goes at the end); other lines stay as they are.
#pragma once

#include <string>
#include <vector>

class TIniFile {
  public:
    // Reads the file; a missing or unreadable file is empty.
    explicit TIniFile(std::string fileName);
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // The value when it is a whole number (optional sign and decimal digits, in 32 bits), else
    // the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    // Replaces the file atomically; false when it could not be written.
    bool Save() const;
    std::string Text() const;

  private:
    // Index of the key's line in the section, or -1; `sectionEnd` gets the index after the
    // section's last line, or -1 when the section does not exist.
    int Find(const std::string& section, const std::string& key, int& sectionEnd) const;
    std::string fileName_;
    std::vector<std::string> lines_;
};

// Parses a whole decimal number in 32 bits; false when the text is not one.
bool ParseWholeNumber(const std::string& text, int& value);
