// TGlobalEffects: the particle effects the game loads once at start-up and uses by role (breaking
// pieces, the Pharaoh's faces, markers of bombs and gems, mouse-over highlights, moves, hint and
// map animations, the title), and the mouse cursor's effect. Some run from the start (the title
// as if it had already run 150 s); each pass advances those the current game state shows. The
// cursor has a type, which selects its effect, and an offset from the mouse.
// Relies on the archive, the particle effects and the effect instances' loading.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Geometry.h"
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
    // Frees every effect, the cursor's too; no cursor type is selected any more.
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

    // Selects the cursor of a type, its effect started now: type 1 is the mouse cursor
    // "efMouseCursor.xml". The type already selected changes nothing. A missing effect file
    // leaves the cursor's effect as it was.
    void ChangeCursorType(TFileFolder& archive, int type, IRandom* random, uint32_t now);
    int CursorType() const { return cursorType_; }
    // Where the cursor's effect is drawn from the mouse position.
    void SetCursorOffset(TPoint offset) { cursorOffset_ = offset; }
    TPoint CursorOffset() const { return cursorOffset_; }

  private:
    std::map<std::string, std::unique_ptr<TKelParticleEffect>> effects_;
    std::unique_ptr<TKelParticleEffect> cursor_;
    int cursorType_ = 0;  // none selected
    TPoint cursorOffset_{};
};
