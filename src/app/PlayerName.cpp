#include "app/PlayerName.h"

std::string CleanPlayerName(const std::string& name) {
    std::string clean;
    for (const char c : name)
        if (static_cast<unsigned char>(c) >= 32 && c != '"' && c != '<' && c != '>') clean += c;
    return clean;
}
