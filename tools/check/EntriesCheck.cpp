// The archive's entries: each loads, and each has a name of its own.
#include <string>

#include "check/CheckData.h"

// Every entry's data lies inside the file.
void CheckEntriesLoad(TFileFolder& archive, TProblems& problems) {
    for (int i = 0; i < archive.Count(); ++i) {
        const std::string& name = archive.Entry(i).Name;
        try {
            archive.LoadFile(name);
            archive.Stream(i).Clear();  // give the memory back at once
        } catch (const std::exception& error) {
            problems.push_back(name + ": " + error.what());
        }
    }
}

// Look-ups ignore case and take the first match, so a repeated or empty name hides an entry.
void CheckEntryNames(TFileFolder& archive, TProblems& problems) {
    for (int i = 0; i < archive.Count(); ++i) {
        const std::string& name = archive.Entry(i).Name;
        if (name.empty())
            problems.push_back("entry " + std::to_string(i) + " has no name");
        else if (archive.IndexOfFile(name) != i)
            problems.push_back(name + ": duplicate entry name, only the first one is read");
    }
}
