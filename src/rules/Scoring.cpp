// The score, the Pharaoh's mood and the finish bar's drain while he is angry.
#include <algorithm>
#include <cmath>

#include "core/KelException.h"
#include "rules/PlayRules.h"

namespace {

// The mood above which each state begins: angry, sad, three between, happy, very happy.
constexpr int32_t MoodThresholds[] = {0, 148, 290, 432, 574, 716, 858};

// The highest state whose threshold is below the mood; -1 for a mood of 0 or less.
int MoodStateOf(int32_t mood) {
    for (int state = 6; state >= 0; --state)
        if (MoodThresholds[state] < mood) return state;
    return -1;
}

int32_t RoundHalfEven(double value) {
    return int32_t(std::nearbyint(value));
}

}  // namespace

void TPlayRules::AddScore(int32_t points) {
    Guarded("Exception error in TKelGameEngine.AddScore!", [&] {
        Game().Score += points;
        links_.Out.ScoreChanged();
    });
}

void TPlayRules::TickPharaohTimer(uint32_t now) {
    Guarded("Exception error in TKelGameEngine.TickPharaohTimer!", [&] {
        TGame& game = Game();
        const TLevel& level = links_.Play.Level;
        if (int64_t(now) <= game.MoodTickTime || int64_t(now) <= game.MoodHoldUntil) return;
        const int old = game.MoodState;
        const int32_t rate = level.DecPerSecond;
        const int32_t fall = level.Progress < 1    ? RoundHalfEven(rate / 3.0)
                             : level.Progress >= 2 ? rate
                                                   : RoundHalfEven(2.0 * rate / 3.0);
        game.Mood = std::max(game.Mood - fall, 0);
        if (game.GameMode == 1 && game.Mood < 148) game.Mood = 149;  // Relax: never angry
        const int state = MoodStateOf(game.Mood);
        if (state >= 0 && state != game.MoodState) {
            game.MoodState = state;
            links_.Out.MarkRedraw({0, 0, 100, 100});
            const char* sound = state == 0              ? "ChangePharaohStateToAngry"
                                : state == 1 && old > 1 ? "ChangePharaohStateToSad"
                                : state == 5 && old < 5 ? "ChangePharaohStateToHappy"
                                : state == 6 && old < 6 ? "ChangePharaohStateToVeryHappy"
                                                        : nullptr;
            if (sound) links_.Out.PlaySound(sound, -1);
        }
        game.MoodTickTime = int64_t(now) + 1000;
    });
}

bool TPlayRules::DrainBar(uint32_t now, int32_t dt) {
    return Guarded("Exception error in TKelGameEngine.DrawPharaoh!", [&] {
        TGame& game = Game();
        TLevel& level = links_.Play.Level;
        // A level without a goal has a full bar that never drains.
        if (level.Goal <= 0) return false;
        level.Progress -= double(dt) * level.DownScarabPerSecond / 1000.0 / (299.0 / level.Goal);
        if (int64_t(now) > game.AlertTime || game.AlertTime < 0) {
            links_.Out.PlaySound("Alert", -1);
            game.AlertTime = int64_t(now) + 1000;
        }
        return level.Progress < 0;
    });
}
