// The instruction examples' pictures.
#include "app/InstructionEffects.h"

#include "app/FishPictures.h"
#include "core/KelException.h"
#include "resources/FileFolder.h"

void ChangeEffectParticlesPictures(TKelParticleEffect& effect, const TFishkaTypes& types,
                                   const TLevel& level) {
    Guarded("Exception error in TKelGameEngine.ChangeEffectParticlesPictures!", [&] {
        for (int i = 0; i < effect.SystemCount(); ++i) {
            TKelParticleSystem* system = effect.GetSystem(i);
            if (!system || system->Resource.empty()) continue;
            const char kind = system->Resource[0];
            if (kind != '1' && kind != '2') continue;
            const size_t which = kind == '1' ? 0 : 1;
            if (which >= level.LevelFishes.size()) continue;
            const TFishSpec& fish = level.LevelFishes[which];
            if (fish.Type < 0 || size_t(fish.Type) >= types.size()) continue;
            int mask = 0;
            for (char piece : system->Resource.substr(std::min<size_t>(2, system->Resource.size())))
                mask += piece == '1' ? 1 : piece == '2' ? 2 : piece == '3' ? 4 : 0;
            const std::string name =
                FishPictureName(types[size_t(fish.Type)], mask, fish.Color) + "anime";
            system->Resource = name.substr(0, TFileFolder::MaxNameLength);
        }
    });
}
