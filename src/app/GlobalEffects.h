// TGlobalEffects: the particle effects the game loads once at start-up and uses by role (breaking
// pieces, the Pharaoh's faces, markers of bombs and gems, mouse-over highlights, moves, hint and
// map animations, the title), and the mouse cursor's effect. Some run from the start (the title
// as if it had already run 150 s); each pass advances those the current game state shows.
// Relies on the archive, the particle effects and the effect instances' loading.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fx/KelFXParticles.h"
#include "resources/FileFolder.h"
#include "rules/Game.h"

class IRandom;

class TGlobalEffects {
  public:
    // The archive entries of the global effects, in loading order.
    static const std::vector<std::string>& Files();

    // Loads every global effect and starts those that run from the start. A missing entry is
    // logged ("Can not find file name <file> in GameFolder") and leaves that role empty, so the
    // game runs without it. Errors raise "Exception error in TKelGameEngine.LoadGameEffects!".
    void Load(TFileFolder& archive, IRandom* random, uint32_t now,
              const std::function<void(const std::string&)>& log);
    // Frees every effect, the cursor's too.
    void Clear();
    // Advances the effects the state shows: the cursor always, the title in the menu, the
    // gleam, mouse-over, bomb and gem markers in play.
    void Update(TGameState state, uint32_t now);

    // The effect loaded from `file`, none when it is not loaded.
    TKelParticleEffect* Find(const std::string& file) const;

    // Replaces the cursor's effect by one loaded from `file`, started now; false (the cursor
    // unchanged) when the archive has no such entry. Errors raise "Exception error in
    // TKelGameEngine.ChangeCursorEffect <file>".
    bool ChangeCursorEffect(TFileFolder& archive, const std::string& file, IRandom* random,
                            uint32_t now);
    TKelParticleEffect* Cursor() const { return cursor_.get(); }

  private:
    std::map<std::string, std::unique_ptr<TKelParticleEffect>> effects_;
    std::unique_ptr<TKelParticleEffect> cursor_;
};
