// The global effects.
#include "app/GlobalEffects.h"

#include "app/ScreenEffects.h"
#include "core/KelException.h"

namespace {

// The title has run this long when it is first shown.
constexpr uint32_t TitlePreRunMs = 150000;

// Loaded but left unstarted: the templates that moves and breaks clone.
bool StartsAtOnce(const std::string& file) {
    return file.rfind("efBreakFishka", 0) != 0 && file.rfind("efMove", 0) != 0 &&
           file != "efBombMove.xml";
}

}  // namespace

const std::vector<std::string>& TGlobalEffects::Files() {
    static const std::vector<std::string> files{"efBreakFishka.xml",
                                                "efBreakFishka1.xml",
                                                "efBreakFishka2.xml",
                                                "efPharaohAngry.xml",
                                                "efMove.xml",
                                                "efMoveAlpha10.xml",
                                                "efMoveAlpha01.xml",
                                                "efMoveJumpBall.xml",
                                                "efBlick.xml",
                                                "efBonusGem.xml",
                                                "efBonusGemOnHint.xml",
                                                "efLightningGemOnHint.xml",
                                                "efVertBombBonus.xml",
                                                "efDiagRTBombBonus.xml",
                                                "efDiagLTBombBonus.xml",
                                                "efBombMove.xml",
                                                "efTitle.xml",
                                                "efBouncingGemOnHint.xml",
                                                "efLevelMarkerOnMap.xml",
                                                "efPharaohFaces1.xml",
                                                "efPharaohFaces2.xml",
                                                "efPharaohFaces3.xml",
                                                "efPharaohFaces4.xml",
                                                "efPharaohFaces5.xml",
                                                "efPharaohFaces6.xml",
                                                "efMouseOver1.xml",
                                                "efMouseOver2.xml",
                                                "efMouseOver3.xml"};
    return files;
}

void TGlobalEffects::Load(TFileFolder& archive, IRandom* random, uint32_t now,
                          const std::function<void(const std::string&)>& log) {
    Guarded("Exception error in TKelGameEngine.LoadGameEffects!", [&] {
        for (const std::string& file : Files()) {
            std::unique_ptr<TKelParticleEffect> effect = LoadEffectEntry(archive, file, random);
            if (!effect) {
                if (log) log("Can not find file name " + file + " in GameFolder");
                continue;
            }
            if (file == "efTitle.xml")
                StartEffect(*effect, now - TitlePreRunMs);
            else if (StartsAtOnce(file))
                StartEffect(*effect, now);
            effects_[file] = std::move(effect);
        }
    });
}

void TGlobalEffects::Clear() {
    effects_.clear();
    cursor_.reset();
    cursorType_ = 0;
}

TKelParticleEffect* TGlobalEffects::Find(const std::string& file) const {
    const auto found = effects_.find(file);
    return found == effects_.end() ? nullptr : found->second.get();
}

void TGlobalEffects::Update(TGameState state, uint32_t now) {
    if (cursor_) cursor_->Update(now);
    auto update = [&](const char* file) {
        if (TKelParticleEffect* effect = Find(file)) effect->Update(now);
    };
    if (state == gsMenu) update("efTitle.xml");
    if (state != gsGame) return;
    for (const char* file : {"efBlick.xml", "efMouseOver1.xml", "efMouseOver2.xml",
                             "efMouseOver3.xml", "efVertBombBonus.xml", "efDiagRTBombBonus.xml",
                             "efDiagLTBombBonus.xml", "efBonusGem.xml"})
        update(file);
}

bool TGlobalEffects::ChangeCursorEffect(TFileFolder& archive, const std::string& file,
                                        IRandom* random, uint32_t now) {
    return Guarded("Exception error in TKelGameEngine.ChangeCursorEffect " + file, [&] {
        std::unique_ptr<TKelParticleEffect> effect = LoadEffectEntry(archive, file, random);
        if (!effect) return false;
        StartEffect(*effect, now);
        cursor_ = std::move(effect);
        return true;
    });
}

void TGlobalEffects::ChangeCursorType(TFileFolder& archive, int type, IRandom* random,
                                      uint32_t now) {
    if (type == cursorType_) return;
    cursorType_ = type;
    if (type == 1) ChangeCursorEffect(archive, "efMouseCursor.xml", random, now);
}
