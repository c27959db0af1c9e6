// File-system paths as the game uses them: data paths may be written with "\" and in any letter
// case, so each component is matched against what is on disk without regard to ASCII case.
#pragma once

#include <string>
#include <vector>

// "\" becomes "/".
std::string ConvertPath(const std::string& path);

// The path as it exists on disk: "\" converted, each component that does not exist as written
// replaced by the first entry of its folder (in sorted order) that equals it ignoring ASCII
// case. Components that match nothing are kept as written.
std::string ResolvePath(const std::string& path);

// The names of the entries of a folder (files and folders, without "." and ".."), sorted
// bytewise; empty when the folder cannot be read.
std::vector<std::string> ListFolder(const std::string& folder);

// Joins a folder and a relative name with one "/".
std::string JoinPath(const std::string& folder, const std::string& name);

