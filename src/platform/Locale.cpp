#include "platform/Locale.h"

#include <cstdlib>
#include <map>

std::string DesktopLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(name); value && *value) return value;
    return {};
}

std::string LanguageCodeOfLocale(const std::string& locale) {
    static const std::map<std::string, std::string> codes{
        {"de", "deu"}, {"en", "enu"}, {"es", "esp"}, {"fr", "fra"}, {"it", "ita"},
        {"nl", "nld"}, {"pl", "plk"}, {"pt", "ptb"}, {"ru", "rus"}, {"uk", "ukr"}};
    const std::string language = locale.substr(0, locale.find_first_of("_.@"));
    const auto found = codes.find(language);
    return found == codes.end() ? std::string() : found->second;
}
