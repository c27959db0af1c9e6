#include "app/UserFiles.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <system_error>

#include "app/DamagedFile.h"

#include "app/GameWindows.h"
#include "app/HighScoreBoard.h"

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

std::unique_ptr<TKelParser> TUserFiles::ReadPlayersOrSetAside(const TPlayersFile& file,
                                                              std::string& kept) {
    try {
        auto document = file.Read();
        CheckPlayersDocument(*document, int32_t(s_.PathPoints.size()) - 1);
        return document;
    } catch (const std::exception& failure) {
        s_.Log.WriteLog(file.Path() + " does not read: " + failure.what());
    }
    try {
        kept = MoveDamagedFile(file.Path(), std::time(nullptr));
        s_.Log.WriteLog("The damaged players file is kept as " + kept);
    } catch (const std::system_error& failure) {
        // The game goes on without the players all the same; the file stays where it is.
        s_.Log.WriteLog(failure.what());
        kept = file.Path();
    }
    return nullptr;
}

void TUserFiles::WritePlayers(const TPlayersFile& file, TKelParser& document) {
    try {
        file.Write(document);
    } catch (const std::system_error& failure) {
        s_.Log.WriteLog(failure.what());
        ReportSaveFailure(TUserFile::Players, failure.code().value());
    }
}

void TUserFiles::SaveHighScoresFile() {
    const std::string path = s_.HighScores->HighScoresPath();
    if (s_.HighScores->Damaged()) {
        try {
            s_.Log.WriteLog("High scores that did not read are kept in " +
                            CopyDamagedFile(path, std::time(nullptr)));
            s_.HighScores->Damaged() = false;
        } catch (const std::system_error& failure) {
            // Without the copy the lines that did not read would be lost: no rewrite.
            s_.Log.WriteLog(failure.what());
            ReportSaveFailure(TUserFile::HighScores, failure.code().value());
            return;
        }
    }
    if (SaveHighScores(path, s_.HighScores->Tables())) return;
    const int error = errno;
    s_.Log.WriteLog("Cannot write " + path + ": " + std::strerror(error));
    ReportSaveFailure(TUserFile::HighScores, error);
}

void TUserFiles::SaveOptionsFile() {
    const std::string path = s_.UserPath("options.cfg");
    if (s_.Options.SaveOptions(path)) return;
    const int error = errno;
    s_.Log.WriteLog("Cannot write " + path + ": " + std::strerror(error));
    ReportSaveFailure(TUserFile::Options, error);
}

void TUserFiles::ReportSaveFailure(TUserFile file, int error) {
    if (!saveFailuresShown_.insert(file).second) return;
    const char* reason = ReasonResource(error);
    const std::string detail = reason && s_.Interface.FindObject(reason)
                                   ? s_.Windows->CaptionOf(reason)
                                   : std::string(std::strerror(error)) + ".";
    ShowFileProblem("WResource_LSaveFailedTitle", TextResource(int(file)),
                    std::string(FileName(int(file))) + ": " + detail);
}

void TUserFiles::ShowFileProblem(const std::string& titleResource, const std::string& textResource,
                                 const std::string& detail) {
    if (!s_.Interface.FindObject("WFileProblem")) return;
    // Shown by the next pass: a handler that fails to save may still be closing its window.
    fileProblems_.push_back(
        {s_.Windows->CaptionOf(titleResource), s_.Windows->CaptionOf(textResource), detail});
}

void TUserFiles::ShowNextFileProblem() {
    if (fileProblems_.empty() || s_.Interface.Shown("WFileProblem")) return;
    const TFileProblem problem = fileProblems_.front();
    fileProblems_.pop_front();
    s_.Windows->SetCaption("WFileProblem_LTitle", problem.Title);
    s_.Windows->SetCaption("WFileProblem_LText", problem.Text);
    s_.Windows->SetCaption("WFileProblem_LDetail", problem.Detail);
    s_.Interface.ShowModal("WFileProblem");
}
