// TPNGMorf: converts a resource archive into another by the entries' file-name extensions and
// builds the pictures its image scripts describe. The install step uses it to expand the shipped
// archive into the working one; the same conversions pack an expanded archive again, since each
// extension of a packed form converts back to the expanded one and the other way round:
//   "PNG"  -> "._JPG" (colour at the set JPEG quality) + "._PNG" (alpha mask)
//   "_PNG" -> ".PNG", merged with its "._JPG"
//   "PnG"  -> "._PnG" (alpha mask), with its ".jpg" kept as ".jpg"
//   "_PnG" -> ".PnG", merged with its "._jpg"
//   "aim"  -> "._aim"  and  "_aim" -> ".aim"
//   "_JPG", "_jpg" only go with their pictures; "pNg" is dropped (scripts rebuild it)
//   anything else is copied with its kind.
// Extensions (the name after its first ".") are compared exactly, letter case included. After the
// conversion every ".aim" entry of the destination is run as an image script.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "resources/FileFolder.h"

class TPNGMorf {
  public:
    // Receives "Done: <percent>% ( <entry>)" and the percentage as a whole number.
    using TProgress = std::function<void(const std::string& status, int percent)>;

    explicit TPNGMorf(int jpegQuality) : jpegQuality_(jpegQuality) {}

    void SetProgress(TProgress progress) { progress_ = std::move(progress); }
    // A job line names its archives as Source="..." and Dest="...".
    void AddJob(const std::string& line) { jobs_.push_back(line); }
    // Runs the jobs in order. A job whose destination exists is skipped, even when that archive is
    // incomplete; otherwise the destination's folders are made and the archive is written
    // atomically. Throws std::runtime_error: "Can not find file <path>!" for a missing source,
    // "File <name> does not exist!" for a missing companion picture, and the errors of the
    // archive, the picture codecs and the image scripts.
    void Run();

  private:
    void RunJob(const std::string& sourcePath, const std::string& destPath);
    void Convert(TFileFolder& source, int index, TFileFolder& dest);
    void Report(double percent, const std::string& name) const;

    int jpegQuality_;
    TProgress progress_;
    std::vector<std::string> jobs_;
};
