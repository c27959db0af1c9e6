// The hosts of game scripts.
#include "app/ScriptHosts.h"

#include <algorithm>

#include "core/MemoryStream.h"
#include "resources/JpegPNG.h"

THeadlessScriptHost::THeadlessScriptHost(const THeadlessConfig& config)
    : game_(config), passMs_(config.PassMs) {
    game_.Start();
}

void TWindowScriptHost::Start() {
    try {
        engine_.FormCreate();
    } catch (const std::exception& error) {
        engine_.AppException(error);
        engine_.Close();  // the game cannot run without what start-up loads
        return;
    }
    constexpr uint32_t StartLimitMs = 10000;
    const uint32_t start = Now();
    while (!engine_.Closed() && !engine_.IdleInstalled() && Now() - start < StartLimitMs) Pass();
}

void TWindowScriptHost::Pass() {
    if (!engine_.Closed()) engine_.RunOnce();
}

bool TWindowScriptHost::SaveFrame(const std::string& path) {
    TSurfEngine* store = engine_.Services().Surfaces.get();
    TSurface* surface = store ? store->FindSurface("MemorySurface") : nullptr;
    if (!surface || !surface->HasSurface() || surface->Width != ScreenWidth ||
        surface->Height != ScreenHeight)
        return false;
    const TPixelLayout& layout = store->PixelFormat;
    const size_t rowBytes = size_t(ScreenWidth) * layout.BytesPerPixel();
    std::vector<uint8_t> frame(rowBytes * ScreenHeight);
    for (int y = 0; y < ScreenHeight; ++y)
        std::copy_n(surface->Bits + size_t(y) * surface->Pitch, rowBytes,
                    frame.begin() + ptrdiff_t(y * rowBytes));
    const TPixelFormat format{layout.BitCount, layout.RMask, layout.GMask, layout.BMask};
    TMemoryStream stream(FrameToPicture(frame, format).Encode());
    try {
        stream.SaveToFile(path);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
