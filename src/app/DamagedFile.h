// A user file that does not read is kept aside under a name of its own, never overwritten, so a
// person can still look at it or mend it while the game goes on without it. Relies on the file
// system and the atomic writer.
#pragma once

#include <ctime>
#include <string>

// The first free name `path` + ".damaged-YYYYMMDD-HHMMSS" for the local time `when`, followed by
// "-2", "-3", ... when that name is taken.
std::string DamagedFileName(const std::string& path, std::time_t when);

// Moves the file to its damaged name; answers that name. Raises std::system_error when the file
// cannot be moved.
std::string MoveDamagedFile(const std::string& path, std::time_t when);

// Copies the file, as it is, to its damaged name and leaves it in place; answers that name.
// Raises std::system_error when it cannot be read or the copy cannot be written.
std::string CopyDamagedFile(const std::string& path, std::time_t when);
