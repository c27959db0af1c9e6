// The headless game driver.
#include "app/HeadlessGame.h"

#include <algorithm>

#include "core/MemoryStream.h"
#include "platform/Paths.h"
#include "resources/JpegPNG.h"

THeadlessGame::THeadlessGame(const THeadlessConfig& config)
    : passMs_(std::max<uint32_t>(config.PassMs, 1)) {
    system_.Seed = config.Seed;
    if (config.RegistryInUserFolder)
        system_.RegistryFile.emplace(JoinPath(config.UserFolder, "registry.ini"));
    game_ = std::make_unique<TKelGameEngine>(platform_,
                                             TGameFolders{config.DataFolder, config.UserFolder});
    game_->Services().Options.FullScreenForRun = config.FullScreen;
}

void THeadlessGame::Start() {
    try {
        game_->FormCreate();
    } catch (const std::exception& error) {
        game_->AppException(error);
        game_->Close();  // the game cannot run without what start-up loads
        return;
    }
    Activate(true);
    RunPass();
}

void THeadlessGame::Step(uint32_t ms) {
    const uint32_t end = system_.Now + ms;
    while (!game_->Closed() && int32_t(end - system_.Now) > 0) {
        system_.Now += std::min(passMs_, end - system_.Now);
        RunPass();
    }
}

bool THeadlessGame::RunUntil(const std::function<bool()>& done, uint32_t limitMs) {
    const uint32_t end = system_.Now + limitMs;
    while (!game_->Closed()) {
        if (done()) return true;
        if (int32_t(end - system_.Now) <= 0) return false;
        system_.Now += std::min(passMs_, end - system_.Now);
        RunPass();
    }
    return done();
}

void THeadlessGame::RunPass() {
    // The input due by now, then what the game posted to itself, then one pass.
    while (!input_.empty() && int32_t(input_.begin()->first - system_.Now) <= 0) {
        events_.Push(input_.begin()->second);
        input_.erase(input_.begin());
    }
    TEvent event;
    while (!game_->Closed() && events_.Poll(event)) game_->Dispatch(event);
    game_->Pass();
}

void THeadlessGame::Send(const TEvent& event) {
    if (!game_->Closed()) game_->Dispatch(event);
}

void THeadlessGame::Click(int x, int y, TMouseButton button) {
    const TShiftState held = button == TMouseButton::mbLeft ? ssLeft : ssRight;
    Send(MouseDownEvent(x, y, button, held));
    Send(MouseUpEvent(x, y, button));
}

std::string THeadlessGame::Press(const std::string& name) {
    TPoint at;
    std::string failure = FindPressPoint(*game_, name, at);
    if (failure.empty()) Click(at.X, at.Y);
    return failure;
}

void THeadlessGame::Key(int key, TShiftState shift) {
    Send(KeyDownEvent(key, shift));
    Send(KeyUpEvent(key, shift));
}

void THeadlessGame::Type(const std::u32string& text) {
    for (const char32_t character : text) Send(CharEvent(uint32_t(character)));
}

void THeadlessGame::StartLevel(int32_t number, const std::string& entry) {
    game_->Services().Play.Game.ShowInstructions = false;
    game_->Services().Levels->StartGameAt(number, entry, Now());
    game_->SetTopForm("WGame");
}

void THeadlessGame::Input(const TEvent& event, uint32_t at) {
    input_.emplace(at == 0 ? system_.Now : at, event);
}

void THeadlessGame::MouseMove(int x, int y, uint32_t at) {
    Input(MouseMoveEvent(x, y), at);
}

void THeadlessGame::MouseDown(int x, int y, TMouseButton button, TShiftState shift, uint32_t at) {
    Input(MouseDownEvent(x, y, button, shift), at);
}

void THeadlessGame::MouseUp(int x, int y, TMouseButton button, TShiftState shift, uint32_t at) {
    Input(MouseUpEvent(x, y, button, shift), at);
}

void THeadlessGame::Wheel(int x, int y, int delta, TShiftState shift, uint32_t at) {
    Input(WheelEvent(x, y, delta, shift), at);
}

void THeadlessGame::KeyDown(int key, TShiftState shift, uint32_t at) {
    Input(KeyDownEvent(key, shift), at);
}

void THeadlessGame::KeyUp(int key, TShiftState shift, uint32_t at) {
    Input(KeyUpEvent(key, shift), at);
}

void THeadlessGame::TypeChar(uint32_t character, uint32_t at) {
    Input(CharEvent(character), at);
}

void THeadlessGame::Activate(bool active, uint32_t at) {
    Input(ActivateEvent(active), at);
}

void THeadlessGame::Close(uint32_t at) {
    Input(CloseEvent(), at);
}

TPngPicture FrameToPicture(const std::vector<uint8_t>& frame, const TPixelFormat& format) {
    TPngPicture picture;
    picture.Width = ScreenWidth;
    picture.Height = ScreenHeight;
    picture.Color.assign(size_t(ScreenWidth) * ScreenHeight * 3, 0);
    const size_t bytesPerPixel = format.BitCount == 16 ? 2 : 4;
    if (frame.size() < size_t(ScreenWidth) * ScreenHeight * bytesPerPixel) return picture;
    for (int y = 0; y < ScreenHeight; ++y) {
        uint8_t* out = picture.ColorRow(y);
        const uint8_t* in = frame.data() + size_t(y) * ScreenWidth * bytesPerPixel;
        for (int x = 0; x < ScreenWidth; ++x, out += 3, in += bytesPerPixel) {
            if (bytesPerPixel == 4) {  // X R G B in a little-endian word: B, G, R, X
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            } else {  // 5-6-5 bits, widened with their top bits repeated
                const uint16_t p = uint16_t(in[0] | in[1] << 8);
                const uint8_t r = uint8_t(p >> 11), g = uint8_t(p >> 5 & 63), b = uint8_t(p & 31);
                out[0] = uint8_t(b << 3 | b >> 2);
                out[1] = uint8_t(g << 2 | g >> 4);
                out[2] = uint8_t(r << 3 | r >> 2);
            }
        }
    }
    return picture;
}

bool THeadlessGame::SaveFrame(const std::string& path) const {
    if (display_.LastFrame.empty()) return false;
    const std::vector<uint8_t> png =
        FrameToPicture(display_.LastFrame, display_.PixelFormat()).Encode();
    TMemoryStream stream(png);
    try {
        stream.SaveToFile(path);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
