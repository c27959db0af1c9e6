// Path conversion and case-insensitive resolution over std::filesystem.
#include "platform/Paths.h"

#include "core/KelParserText.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string ConvertPath(const std::string& path) {
    std::string result = path;
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end;
         it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string ResolvePath(const std::string& path) {
    const std::string converted = ConvertPath(path);
    const bool absolute = !converted.empty() && converted[0] == '/';
    std::string resolved(absolute ? 1 : 0, '/');
    size_t start = absolute ? 1 : 0;
    while (start <= converted.size()) {
        size_t end = converted.find('/', start);
        if (end == std::string::npos) end = converted.size();
        std::string component = converted.substr(start, end - start);
        if (!component.empty()) {
            std::error_code error;
            const std::string direct = JoinPath(resolved, component);
            if (component != "." && component != ".." && !fs::exists(direct, error)) {
                for (const std::string& entry : ListFolder(resolved)) {
                    if (SameText(entry, component)) {
                        component = entry;
                        break;
                    }
                }
            }
            resolved = JoinPath(resolved, component);
        }
        if (end == converted.size()) break;
        start = end + 1;
    }
    return resolved;
}
