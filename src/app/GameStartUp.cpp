// The game's start-up steps that load what every screen uses: the audio device, the work
// surfaces of the frame, the start-up pictures, the game parameters and the descriptions of the
// piece types and the level map.
#include "app/GameStartUp.h"

#include <algorithm>
#include <sstream>

#include "app/CUnit.h"
#include "app/FishPictures.h"
#include "app/GameWindows.h"
#include "core/KelException.h"
#include "core/TextLines.h"
#include "resources/ArchiveXml.h"

namespace {

// The audio layer version the game was written for (1.8: major in the low word).
constexpr uint32_t ExpectedAudioVersion = 1 + 8 * 65536;

}  // namespace

bool SetUpAudio(TGameServices& s_) {
    try {
        IAudio& audio = s_.Os.Audio;
        bool soundOn = audio.GetVersion() == ExpectedAudioVersion;
        if (soundOn) soundOn = audio.Init(44100);
        if (soundOn) audio.Start();
        audio.SetGlobalVolumes(std::clamp(s_.Options.MusicVolume, 0, 100),
                               std::clamp(s_.Options.SoundVolume, 0, 100), 0);
        s_.Log.WriteLog("Bass init Ok...");
        return soundOn;
    } catch (const std::exception& error) {
        LogErrorText(error.what());
        throw KelException("Bass init error.");
    }
}

void CreateWorkSurfaces(TGameServices& s_) {
    for (const char* name :
         {"MemorySurface", "MemoryBufferAdd", "MemoryBufferAddLight", "Background"}) {
        s_.Surfaces->DeleteSurface(name);
        s_.Surfaces->CreateEmptySurface(name, ScreenWidth, ScreenHeight);
    }
    s_.Surfaces->CreateAlphaChannel("MemoryBufferAddLight", 255);
}

void LoadStartPictures(TGameServices& s_) {
    s_.Surfaces->LoadLoosePictures(s_.Folders.GameFolder);
    s_.Log.WriteLog("Pictures from Folder Load Ok...");
    if (TMemoryStream* list = s_.Archive->FindFile("surfaces.dat"))
        s_.PermanentPictures = NonEmptyLines(list->ToString());
    // The windows' pictures are kept as long as the listed ones.
    s_.Windows->LoadInterfacePictures();
    // The fonts' glyph sheets are pictures too.
    s_.Surfaces->LoadPictureList(*s_.Archive, NonEmptyLines(s_.Fonts->GetPictureList()));
    s_.Log.WriteLog("resource List Reinit Surfaces Ok...");
}

void LoadGameParams(TGameServices& s_, const std::string& fileName) {
    TMemoryStream bytes;
    bytes.LoadFromFile(fileName);
    if (!IsPlainText(bytes)) {
        TMemoryStream plain;
        ScrambleStream(bytes, plain, ScrambleKey);
        bytes = std::move(plain);
    }
    TKelParser document;
    document.LoadFromString(bytes.ToString());
    s_.Params = ReadGameParams(document, fileName);
}

void LoadGameDescriptions(TGameServices& s_) {
    TKelParser types;
    if (LoadXmlEntry(*s_.Archive, "FishkaTypes.xml", types)) ReadFishkaTypes(types, s_.Types);
    MakeGhostFishes(*s_.Surfaces, *s_.Archive, s_.Types);
    s_.Surfaces->LoadAllShadersFromFolder(*s_.Archive);
    TKelParser points;
    if (LoadXmlEntry(*s_.Archive, "PathPoints.xml", points)) s_.PathPoints = ReadPathPoints(points);
}
