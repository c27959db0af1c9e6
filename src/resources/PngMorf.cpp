// The archive conversion of the install step.
#include "resources/PngMorf.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "resources/ImageScript.h"
#include "resources/JpegPNG.h"
#include "resources/ScriptText.h"

namespace fs = std::filesystem;

namespace {

constexpr uint16_t ScriptKind = 1;
constexpr uint16_t PictureKind = 2;

using TBytes = std::vector<uint8_t>;

std::span<const uint8_t> BytesOf(const TMemoryStream& stream) {
    return {stream.Memory(), stream.Size()};
}

// The entry of exactly that name (letter case included), loaded; the archive's own lookup
// ignores case, which would mix up the packed and expanded forms.
const TMemoryStream* FindExact(TFileFolder& archive, const std::string& name) {
    for (int i = 0; i < archive.Count(); ++i) {
        if (archive.Entry(i).Name != name) continue;
        if (archive.State(i) == TFileFolder::esNotLoaded) archive.LoadFile(name);
        return &archive.Stream(i);
    }
    return nullptr;
}

const TMemoryStream& Companion(TFileFolder& archive, const std::string& name) {
    const TMemoryStream* stream = FindExact(archive, name);
    if (!stream) throw std::runtime_error("File " + name + " does not exist!");
    return *stream;
}

// Adds the bytes unless an entry of exactly that name is there already: a ".jpg" kept for its
// "PnG" picture is also copied as an entry of its own.
void Store(TFileFolder& dest, const std::string& name, uint16_t kind,
           std::span<const uint8_t> bytes) {
    for (int i = 0; i < dest.Count(); ++i)
        if (dest.Entry(i).Name == name) return;
    dest.AddFile(name, kind, TMemoryStream(TBytes(bytes.begin(), bytes.end())));
}

void Check(bool converted, const std::string& name) {
    if (!converted) throw std::runtime_error("Cannot convert picture " + name);
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void TPNGMorf::Run() {
    for (const std::string& job : jobs_) {
        const std::string source = AttributeValue(job, "Source");
        const std::string dest = AttributeValue(job, "Dest");
        std::error_code error;
        if (!fs::exists(source, error))
            throw std::runtime_error("Can not find file " + source + "!");
        if (fs::exists(dest, error)) continue;
        const fs::path folder = fs::path(dest).parent_path();
        if (!folder.empty()) fs::create_directories(folder);
        RunJob(source, dest);
    }
}

void TPNGMorf::RunJob(const std::string& sourcePath, const std::string& destPath) {
    TFileFolder source = TFileFolder::Open(sourcePath);
    if (!source.LastError().empty())
        throw std::runtime_error("Cannot install " + sourcePath + ": " + source.LastError());
    TFileFolder dest = TFileFolder::CreateEmpty(destPath);
    const int count = source.Count();
    for (int i = 0; i < count; ++i) {
        if (count > 1) Report(i * 100.0 / (count - 1), source.Entry(i).Name);
        Convert(source, i, dest);
    }
    std::vector<std::string> scripts;
    for (int i = 0; i < dest.Count(); ++i)
        if (EndsWith(dest.Entry(i).Name, ".aim")) scripts.push_back(dest.Entry(i).Name);
    for (size_t i = 0; i < scripts.size(); ++i) {
        RunImageScript(dest, dest.FindFile(scripts[i])->ToString());
        Report((i + 1) * 100.0 / scripts.size(), scripts[i]);
    }
    dest.Save();
}

void TPNGMorf::Convert(TFileFolder& source, int index, TFileFolder& dest) {
    const TFileFolder::TDir& entry = source.Entry(index);
    const size_t dot = entry.Name.find('.');
    const std::string base = entry.Name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : entry.Name.substr(dot + 1);
    if (ext == "_JPG" || ext == "_jpg" || ext == "pNg") return;
    const std::span<const uint8_t> bytes = BytesOf(*FindExact(source, entry.Name));
    TBytes result;
    if (ext == "PNG") {
        std::optional<TBytes> mask;
        Check(SplitPng(bytes, uint8_t(jpegQuality_), result, mask) && mask, entry.Name);
        Store(dest, base + "._JPG", PictureKind, result);
        Store(dest, base + "._PNG", PictureKind, *mask);
    } else if (ext == "_PNG") {
        const TMemoryStream& jpeg = Companion(source, base + "._JPG");
        Check(JpegWithMaskToPng(BytesOf(jpeg), bytes, result), entry.Name);
        Store(dest, base + ".PNG", PictureKind, result);
    } else if (ext == "PnG") {
        const TMemoryStream& jpeg = Companion(source, base + ".jpg");
        Check(PngAlphaToMask(bytes, result), entry.Name);
        Store(dest, base + "._PnG", PictureKind, result);
        Store(dest, base + ".jpg", PictureKind, BytesOf(jpeg));
    } else if (ext == "_PnG") {
        const TMemoryStream& jpeg = Companion(source, base + "._jpg");
        Check(JpegWithMaskToPng(BytesOf(jpeg), bytes, result), entry.Name);
        Store(dest, base + ".PnG", PictureKind, result);
    } else if (ext == "aim") {
        Store(dest, base + "._aim", ScriptKind, bytes);
    } else if (ext == "_aim") {
        Store(dest, base + ".aim", ScriptKind, bytes);
    } else {
        Store(dest, entry.Name, entry.EntryTag, bytes);
    }
}

void TPNGMorf::Report(double percent, const std::string& name) const {
    if (!progress_) return;
    char number[32];
    std::snprintf(number, sizeof number, "%.4g", percent);
    progress_("Done: " + std::string(number) + "% ( " + name + ")", int(std::lround(percent)));
}
