#include "app/GameServices.h"

#include <stdexcept>

#include "app/GameManifest.h"
#include "app/GameWindows.h"
#include "app/HighScoreBoard.h"
#include "app/LanguageChoice.h"
#include "app/OptionsWindow.h"
#include "app/PlayerProfiles.h"
#include "app/UserFiles.h"
#include "app/screens/ScreenFlow.h"
#include "platform/Paths.h"

void THandlers::Register(const std::string& name, std::function<void()> body) {
    // The interface description calls handlers by name: every name is in the manifest.
    if (!IsPublishedHandler(name)) throw std::logic_error(name + " is not a published handler");
    handlers_[name] = body;
    ui_.RegisterHandler(name, std::move(body));
}

bool THandlers::Exec(const std::string& name) {
    const auto found = handlers_.find(name);
    if (found == handlers_.end()) return false;
    found->second();
    return true;
}

TGameServices::TGameServices(::Platform& platform, TGameFolders folders)
    : Os(platform),
      Folders(std::move(folders)),
      Log(Folders.UserFolder, AppName + ".log", [&platform] { return platform.System.Ticks(); }),
      Sounds(platform.Audio, Options, [&platform] { return platform.System.Ticks(); }),
      Clipboard(platform.System) {}

TGameServices::~TGameServices() = default;

std::string TGameServices::UserPath(const std::string& name) const {
    return JoinPath(Folders.UserFolder, name);
}

std::string TGameServices::WorkingArchivePath() const {
    return UserPath("temp/game.zxc");
}

void TGameServices::ReopenArchive() {
    Archive = std::make_unique<TFileFolder>(TFileFolder::Open(WorkingArchivePath()));
}

TEffectSources TGameServices::EffectSources() {
    return {.Archive = *Archive,
            .Surfaces = Surfaces.get(),
            .Fonts = Fonts.get(),
            .Random = &Random,
            .Log = [this](const std::string& line) { Log.WriteLog(line); }};
}
