// The store's loading from the archive: pictures, the picture lists of the start-up, the rebuild
// after a display change, and shader pictures.
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "core/KelException.h"
#include "core/TextCase.h"
#include "graphics/SurfEngine.h"
#include "platform/Paths.h"
#include "resources/FileFolder.h"
#include "resources/JpegPNG.h"

namespace {

std::string LastThree(const std::string& text) {
    return text.size() < 3 ? text : text.substr(text.size() - 3);
}

// A name of a file directly inside a folder: no separators, no "..", not empty.
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

std::span<const uint8_t> Bytes(const TMemoryStream& stream) {
    return {stream.Memory(), stream.Size()};
}

}  // namespace

void TSurfEngine::LoadPNGFromFolder(TFileFolder& folder, const std::string& name,
                                    const std::string&, const std::string& entryName) {
    if (const TMemoryStream* stream = folder.FindFile(entryName)) {
        AddPngSurface(name, entryName, Bytes(*stream), true);
    }
}

void TSurfEngine::LoadJPGFromFolder(TFileFolder& folder, const std::string& name,
                                    const std::string& entryName) {
    if (const TMemoryStream* stream = folder.FindFile(entryName)) {
        AddJpegSurface(name, entryName, Bytes(*stream));
    }
}

void TSurfEngine::ReportProgress(int index, int count, int& threshold) const {
    if (index > threshold && count > 1) {
        if (OnProgress) OnProgress(int(std::nearbyint(index * 100.0 / (count - 1))));
        threshold += count / 20;
    }
}

std::vector<std::string> TSurfEngine::LoadPictureList(TFileFolder& folder,
                                                      const std::vector<std::string>& names) {
    std::vector<std::string> loaded;
    int threshold = 0;
    const int count = int(names.size());
    for (int i = 0; i < count; ++i) {
        const std::string& name = names[size_t(i)];
        if (IndexOfSurface(name) < 0) {
            if (LowerCase(LastThree(name)) == "png") {
                LoadPNGFromFolder(folder, name, "", name);
            } else {
                LoadJPGFromFolder(folder, name, name);
            }
            loaded.push_back(name);
        }
        ReportProgress(i, count, threshold);
    }
    return loaded;
}

// Loads a released picture again: a program-loaded disk file (its file name is a path) from that
// file; otherwise the archive entry, or, when the archive lacks it, a plain file of the game
// folder under the lower-cased names.
void TSurfEngine::RebuildPicture(TFileFolder& folder, const std::string& gameFolder,
                                 const std::string& name, const std::string& fileName) {
    const std::string lower = LowerCase(LastThree(fileName));
    if (fileName.find('/') != std::string::npos) {
        if (lower == "png" || lower == "jpg" || lower == "peg") {
            LoadDiskPicture(name, fileName, fileName, lower == "png");
        }
        return;
    }
    if (lower != "png" && lower != "jpg") return;
    const bool png = lower == "png";
    if (folder.IndexOfFile(fileName) >= 0) {
        if (png) {
            LoadPNGFromFolder(folder, name, gameFolder, fileName);
        } else {
            LoadJPGFromFolder(folder, name, fileName);
        }
        return;
    }
    // The disk fallback opens only plain file names inside the game folder.
    if (!IsPlainFileName(fileName)) return;
    const std::string path = ResolvePath(JoinPath(gameFolder, fileName));
    if (std::filesystem::is_regular_file(path)) {
        LoadDiskPicture(LowerCase(name), LowerCase(fileName), path, png);
    }
}

void TSurfEngine::ReinitSurfaces(TFileFolder& folder, const std::string& gameFolder,
                                 const std::string& names) {
    Guarded("Exception Error in TSurfEngine.ReinitSurfaces.", [&] {
        // The named pictures first, so that the loading screen can be drawn.
        size_t start = 0;
        while ((start = names.find_first_not_of(" \t", start)) != std::string::npos) {
            const size_t end = std::min(names.find_first_of(" \t", start), names.size());
            const std::string name = names.substr(start, end - start);
            start = end;
            const int index = IndexOfSurface(name);
            if (index < 0) continue;
            const std::string fileName = Surfaces[size_t(index)].FileName;
            DeleteSurface(name);
            if (fileName.find('/') != std::string::npos) {
                RebuildPicture(folder, gameFolder, name, fileName);
                continue;
            }
            if (folder.IndexOfFile(fileName) < 0) continue;
            if (LastThree(fileName) == "png") LoadPNGFromFolder(folder, name, gameFolder, fileName);
            if (LastThree(fileName) == "jpg") LoadJPGFromFolder(folder, name, fileName);
        }
        // Every record still without pixels is rebuilt and appended at the end; the records
        // lacking pixels stand first, so n passes over the first record visit each once.
        const int count = int(Surfaces.size());
        int threshold = 0;
        const int steps = count - 1;
        for (int i = 0; i < count && !Surfaces.empty(); ++i) {
            if (Surfaces.front().HasSurface()) continue;
            const std::string name = Surfaces.front().Name;
            const std::string fileName = Surfaces.front().FileName;
            if (fileName.empty()) {
                CreateEmptySurface(name, Surfaces.front().Width, Surfaces.front().Height);
            }
            DeleteSurface(name);
            RebuildPicture(folder, gameFolder, name, fileName);
            if (i > threshold && steps > 0) {
                if (OnProgress) OnProgress(int(std::nearbyint(i * 100.0 / steps)));
                threshold += steps / 20;
            }
        }
    });
}

bool TSurfEngine::LoadShaderFromFolder(TFileFolder& folder, const std::string& entryName) {
    const TMemoryStream* stream = folder.FindFile(entryName);
    if (!stream) return false;
    AddShader(entryName, TPngPicture::Decode(Bytes(*stream)));
    return true;
}

void TSurfEngine::LoadAllShadersFromFolder(TFileFolder& folder) {
    try {
        for (int i = 0; i < folder.Count(); ++i) {
            const std::string name = folder.Entry(i).Name;
            if (name.rfind("Shader", 0) != 0 || name.size() < 4 ||
                name.compare(name.size() - 4, 4, ".png") != 0) {
                continue;
            }
            LoadShaderFromFolder(folder, name);
            WriteLog("Shader " + name.substr(0, 32) + " loaded.");
        }
    } catch (const std::exception& error) {
        WriteLog(error.what());  // the cause, before the fixed text replaces it
        throw std::runtime_error("Exception error in TSurfEngine.LoadAllShadersFromFolder");
    }
}
