// Controllers as keys: the buttons' keys, the stick's dead zone with its two thresholds, the
// repeat of held directions, and keys released when a controller is pulled out.
#include "platform/GamepadKeys.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The queued events as "+KEY" (down) and "-KEY" (up).
std::string Drain(TGamepadKeys& keys) {
    std::string text;
    TEvent event;
    while (keys.Take(event))
        text += (event.Kind == TEventKind::KeyDown ? "+" : "-") + std::to_string(event.Key) + " ";
    return text;
}

TEST(GamepadKeys, ButtonsPressTheirKeys) {
    const std::pair<TPadButton, int> cases[] = {
        {TPadButton::A, vk::Space},     {TPadButton::B, vk::Escape},
        {TPadButton::Start, vk::Pause}, {TPadButton::Up, vk::Up},
        {TPadButton::Down, vk::Down},   {TPadButton::Left, vk::Left},
        {TPadButton::Right, vk::Right},
    };
    for (const auto& [button, key] : cases) {
        TGamepadKeys keys;
        keys.ButtonDown(0, button, 100);
        keys.ButtonDown(0, button, 100);  // a second report of the same press adds nothing
        keys.ButtonUp(0, button);
        const std::string k = std::to_string(key);
        EXPECT_EQ(Drain(keys), "+" + k + " -" + k + " ") << int(button);
    }
    TGamepadKeys keys;
    keys.ButtonDown(0, TPadButton::Other, 0);
    keys.ButtonUp(0, TPadButton::Other);
    EXPECT_EQ(Drain(keys), "");
}

TEST(GamepadKeys, TheStickPushesPastOneThresholdAndLetsGoInsideTheOther) {
    struct Step {
        TPadAxis axis;
        int value;
        std::string events;
    };
    const std::string left = std::to_string(vk::Left), right = std::to_string(vk::Right);
    const std::string down = std::to_string(vk::Down), up = std::to_string(vk::Up);
    const Step steps[] = {
        {TPadAxis::LeftX, 9000, ""},                  // inside the dead zone
        {TPadAxis::LeftX, 20000, "+" + right + " "},  // pushed right
        {TPadAxis::LeftX, 12000, ""},                 // between the thresholds: still held
        {TPadAxis::LeftX, 5000, "-" + right + " "},   // let go
        {TPadAxis::LeftX, -32768, "+" + left + " "},  // straight to the left
        {TPadAxis::LeftX, 32767, "-" + left + " +" + right + " "},
        {TPadAxis::LeftY, 30000, "+" + down + " "},  // y grows downwards
        {TPadAxis::LeftY, -30000, "-" + down + " +" + up + " "},
        {TPadAxis::Other, 30000, ""},  // the right stick and triggers
    };
    TGamepadKeys keys;
    for (const Step& step : steps) {
        keys.AxisMoved(3, step.axis, step.value, 0);
        EXPECT_EQ(Drain(keys), step.events) << int(step.axis) << " " << step.value;
    }
}

TEST(GamepadKeys, HeldDirectionsRepeatAfterADelayOthersDoNot) {
    TGamepadKeys keys;
    keys.ButtonDown(0, TPadButton::Down, 1000);
    keys.ButtonDown(0, TPadButton::A, 1000);
    Drain(keys);
    const uint32_t first = 1000 + TGamepadKeys::RepeatDelay;
    const std::string down = "+" + std::to_string(vk::Down) + " ";
    keys.Repeat(first - 1);
    EXPECT_EQ(Drain(keys), "");
    keys.Repeat(first);
    EXPECT_EQ(Drain(keys), down);
    keys.Repeat(first + TGamepadKeys::RepeatInterval - 1);
    EXPECT_EQ(Drain(keys), "");
    keys.Repeat(first + TGamepadKeys::RepeatInterval);
    EXPECT_EQ(Drain(keys), down);
    keys.Repeat(first + 10 * TGamepadKeys::RepeatInterval);  // looked late: one repeat, no burst
    EXPECT_EQ(Drain(keys), down);
    keys.ButtonUp(0, TPadButton::Down);
    Drain(keys);
    keys.Repeat(first + 100 * TGamepadKeys::RepeatInterval);
    EXPECT_EQ(Drain(keys), "");
}

TEST(GamepadKeys, PullingAControllerOutReleasesOnlyItsKeys) {
    TGamepadKeys keys;
    keys.ButtonDown(1, TPadButton::Left, 0);
    keys.AxisMoved(1, TPadAxis::LeftY, 32767, 0);
    keys.ButtonDown(2, TPadButton::A, 0);
    Drain(keys);
    keys.Removed(1);
    EXPECT_EQ(Drain(keys), "-" + std::to_string(vk::Left) + " -" + std::to_string(vk::Down) + " ");
    keys.Removed(1);
    keys.ButtonUp(2, TPadButton::A);
    EXPECT_EQ(Drain(keys), "-" + std::to_string(vk::Space) + " ");
}

}  // namespace
