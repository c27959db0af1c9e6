// Controller buttons and sticks as key events.
#include "platform/GamepadKeys.h"

#include <algorithm>

namespace {

// Sources of held keys besides the buttons: the two sides of each stick axis.
constexpr int StickSource = 100;

int ButtonKey(TPadButton button) {
    switch (button) {
        case TPadButton::A:
            return vk::Space;
        case TPadButton::B:
            return vk::Escape;
        case TPadButton::Start:
            return vk::Pause;
        case TPadButton::Up:
            return vk::Up;
        case TPadButton::Down:
            return vk::Down;
        case TPadButton::Left:
            return vk::Left;
        case TPadButton::Right:
            return vk::Right;
        case TPadButton::Other:
            return 0;
    }
    return 0;
}

bool IsArrow(int key) {
    return key >= vk::Left && key <= vk::Down;
}

}  // namespace

void TGamepadKeys::Queue(TEventKind kind, int key) {
    TEvent event;
    event.Kind = kind;
    event.Key = key;
    events_.push_back(event);
}

void TGamepadKeys::Press(int pad, int source, int key, bool repeats, uint32_t now) {
    const bool already = std::any_of(held_.begin(), held_.end(), [&](const THeld& held) {
        return held.Pad == pad && held.Source == source;
    });
    if (already) return;
    held_.push_back({pad, source, key, now + RepeatDelay, repeats});
    Queue(TEventKind::KeyDown, key);
}

void TGamepadKeys::Release(int pad, int source) {
    const auto held = std::find_if(held_.begin(), held_.end(), [&](const THeld& entry) {
        return entry.Pad == pad && entry.Source == source;
    });
    if (held == held_.end()) return;
    Queue(TEventKind::KeyUp, held->Key);
    held_.erase(held);
}

void TGamepadKeys::ButtonDown(int pad, TPadButton button, uint32_t now) {
    const int key = ButtonKey(button);
    if (key != 0) Press(pad, int(button), key, IsArrow(key), now);
}

void TGamepadKeys::ButtonUp(int pad, TPadButton button) {
    Release(pad, int(button));
}

void TGamepadKeys::AxisMoved(int pad, TPadAxis axis, int value, uint32_t now) {
    if (axis == TPadAxis::Other) return;
    const bool x = axis == TPadAxis::LeftX;
    const int negative = StickSource + (x ? 0 : 2), positive = negative + 1;
    const auto holds = [&](int source) {
        return std::any_of(held_.begin(), held_.end(), [&](const THeld& held) {
            return held.Pad == pad && held.Source == source;
        });
    };
    // Each side is let go inside the inner threshold and pushed past the outer one; a flip from
    // one side to the other releases before it presses.
    for (const int source : {negative, positive})
        if (holds(source) && (source == negative ? -value : value) < StickReleased)
            Release(pad, source);
    for (const int source : {negative, positive})
        if (!holds(source) && (source == negative ? -value : value) > StickPressed)
            Press(pad, source,
                  source == negative ? (x ? vk::Left : vk::Up) : (x ? vk::Right : vk::Down), true,
                  now);
}

void TGamepadKeys::Removed(int pad) {
    std::vector<int> sources;
    for (const THeld& held : held_)
        if (held.Pad == pad) sources.push_back(held.Source);
    for (const int source : sources) Release(pad, source);
}

void TGamepadKeys::Repeat(uint32_t now) {
    for (THeld& held : held_) {
        if (!held.Repeats) continue;
        // Due once `now` has reached NextRepeat (wrap-safe). One repeat at a time: a caller that
        // looked late gets no burst of them.
        if (int32_t(now - held.NextRepeat) < 0) continue;
        Queue(TEventKind::KeyDown, held.Key);
        held.NextRepeat += RepeatInterval;
        if (int32_t(now - held.NextRepeat) >= 0) held.NextRepeat = now + RepeatInterval;
    }
}

bool TGamepadKeys::Take(TEvent& event) {
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
}
