// The archive conversion shared by the install and pack commands.
#pragma once

#include <string>

// Converts the archive at source into dest with TPNGMorf at JPEG quality 90, printing each
// progress text on its own line; when dest exists it says so and converts nothing. Errors
// propagate with their text.
int RunArchiveConversion(const std::string& source, const std::string& dest);
