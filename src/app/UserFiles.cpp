// The user's files when they do not read or cannot be written: a damaged players file is moved
// aside and the game starts as on a first start, unreadable high-score lines keep their file's
// original beside it before the table is written again, and every failed save is logged and
// told to the player, once per file, with the reason in plain words.
#include <cerrno>
#include <cstring>
#include <ctime>
#include <system_error>

#include "app/DamagedFile.h"
#include "app/GameEngine.h"

namespace {

// The "WResource" label holding the plain words for a failed write's reason; none for a reason
// told in the system's own words.
const char* ReasonResource(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return "WResource_LDiskFull";
        case EACCES:
        case EPERM:
            return "WResource_LNoPermission";
        case EROFS:
            return "WResource_LReadOnly";
        case ENOENT:
        case ENOTDIR:
            return "WResource_LNoFolder";
        default:
            return nullptr;
    }
}

const char* FileName(int file) {
    constexpr const char* Names[] = {"players.dat", "HighScores.dat", "options.cfg",
                                     "registry.ini"};
    return Names[file];
}

const char* TextResource(int file) {
    constexpr const char* Texts[] = {"WResource_LSavePlayers", "WResource_LSaveHighScores",
                                     "WResource_LSaveOptions", "WResource_LSaveLanguage"};
    return Texts[file];
}

}  // namespace

std::unique_ptr<TKelParser> TKelGameEngine::ReadPlayersOrSetAside(const TPlayersFile& file,
                                                                  std::string& kept) {
    try {
        auto document = file.Read();
        CheckPlayersDocument(*document, int32_t(pathPoints_.size()) - 1);
        return document;
    } catch (const std::exception& failure) {
        log_.WriteLog(file.Path() + " does not read: " + failure.what());
    }
    try {
        kept = MoveDamagedFile(file.Path(), std::time(nullptr));
        log_.WriteLog("The damaged players file is kept as " + kept);
    } catch (const std::system_error& failure) {
        // The game goes on without the players all the same; the file stays where it is.
        log_.WriteLog(failure.what());
        kept = file.Path();
    }
    return nullptr;
}

void TKelGameEngine::WritePlayers(const TPlayersFile& file, TKelParser& document) {
    try {
        file.Write(document);
    } catch (const std::system_error& failure) {
        log_.WriteLog(failure.what());
        ReportSaveFailure(TUserFile::Players, failure.code().value());
    }
}

void TKelGameEngine::SaveHighScoresFile() {
    const std::string path = HighScoresPath();
    if (highScoresDamaged_) {
        try {
            log_.WriteLog("High scores that did not read are kept in " +
                          CopyDamagedFile(path, std::time(nullptr)));
            highScoresDamaged_ = false;
        } catch (const std::system_error& failure) {
            // Without the copy the lines that did not read would be lost: no rewrite.
            log_.WriteLog(failure.what());
            ReportSaveFailure(TUserFile::HighScores, failure.code().value());
            return;
        }
    }
    if (SaveHighScores(path, highScores_)) return;
    const int error = errno;
    log_.WriteLog("Cannot write " + path + ": " + std::strerror(error));
    ReportSaveFailure(TUserFile::HighScores, error);
}

void TKelGameEngine::SaveOptionsFile() {
    const std::string path = UserPath("options.cfg");
    if (options_.SaveOptions(path)) return;
    const int error = errno;
    log_.WriteLog("Cannot write " + path + ": " + std::strerror(error));
    ReportSaveFailure(TUserFile::Options, error);
}

void TKelGameEngine::ReportSaveFailure(TUserFile file, int error) {
    if (!saveFailuresShown_.insert(file).second) return;
    const char* reason = ReasonResource(error);
    const std::string detail = reason && interface_.FindObject(reason)
                                   ? CaptionOf(reason)
                                   : std::string(std::strerror(error)) + ".";
    ShowFileProblem("WResource_LSaveFailedTitle", TextResource(int(file)),
                    std::string(FileName(int(file))) + ": " + detail);
}

void TKelGameEngine::ShowFileProblem(const std::string& titleResource,
                                     const std::string& textResource, const std::string& detail) {
    if (!interface_.FindObject("WFileProblem")) return;
    // Shown by the next pass: a handler that fails to save may still be closing its window.
    fileProblems_.push_back({CaptionOf(titleResource), CaptionOf(textResource), detail});
}

void TKelGameEngine::ShowNextFileProblem() {
    if (fileProblems_.empty() || interface_.Shown("WFileProblem")) return;
    const TFileProblem problem = fileProblems_.front();
    fileProblems_.pop_front();
    SetCaption("WFileProblem_LTitle", problem.Title);
    SetCaption("WFileProblem_LText", problem.Text);
    SetCaption("WFileProblem_LDetail", problem.Detail);
    interface_.ShowModal("WFileProblem");
}
