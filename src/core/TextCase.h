// Letter case of ASCII text, as the game's names compare: file names, entry names, language codes
// and keywords. Bytes outside A-Z and a-z (UTF-8 sequences too) are left as they are.
#pragma once

#include <string>

std::string LowerCase(std::string text);
std::string UpperCase(std::string text);
// The two texts are the same but for the letter case.
bool SameText(const std::string& a, const std::string& b);
bool StartsWithText(const std::string& text, const std::string& head);
bool EndsWithText(const std::string& text, const std::string& tail);
