// TUserFiles: the user's files when they do not read or cannot be written. A damaged players file
// is set aside before the game starts afresh, the high scores' original is kept before their
// first rewrite, and a failed save is logged and, once per file, told in "WFileProblem"; the
// passes show the notices one at a time. Relies on the game's services.
#pragma once

#include <deque>
#include <memory>
#include <set>
#include <string>

#include "app/GameServices.h"
#include "app/PlayersFile.h"
#include "core/KelParser.h"

enum class TUserFile { Players, HighScores, Options, Language };

class TUserFiles {
  public:
    explicit TUserFiles(TGameServices& services) : s_(services) {}

    // The players file read whole as the game uses it. A file that does not read is moved aside
    // and none is answered, as on a first start, with `kept` the name it now has.
    std::unique_ptr<TKelParser> ReadPlayersOrSetAside(const TPlayersFile& file, std::string& kept);
    void WritePlayers(const TPlayersFile& file, TKelParser& document);
    void SaveHighScoresFile();
    void SaveOptionsFile();
    // `error` is the system's error number of the failed write.
    void ReportSaveFailure(TUserFile file, int error);
    // Queues "WFileProblem" with the title and text of two "WResource" labels and a detail
    // line.
    void ShowFileProblem(const std::string& titleResource, const std::string& textResource,
                         const std::string& detail);
    // The next notice waiting, unless one is shown.
    void ShowNextFileProblem();

  private:
    TGameServices& s_;
    std::set<TUserFile> saveFailuresShown_;
    struct TFileProblem {
        std::string Title, Text, Detail;
    };
    std::deque<TFileProblem> fileProblems_;  // waiting for "WFileProblem" to close
};
