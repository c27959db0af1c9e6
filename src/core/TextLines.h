// The lines of a text with LF or CR LF ends.
#pragma once

#include <string>
#include <vector>

// Every line, empty ones too, without its end; a text ending with a line end has an empty last
// line.
std::vector<std::string> Lines(const std::string& text);
// The lines that are not empty.
std::vector<std::string> NonEmptyLines(const std::string& text);
