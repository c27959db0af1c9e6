// tervolin-bench: the store's pixel operations side by side with pixman and memcpy on the same
// content: 64x64 soft-edged sprites covering an 800x600 frame plus one full-frame layer, and the
// busiest frame the game composes. After the runs it prints one line per comparison, from the
// best repetition of each benchmark:
//   ratio alpha-draw-255/pixman <x>, ratio alpha-draw-128/pixman <x>,
//   ratio add-blend/pixman-add <x>, ratio opaque-copy/memcpy <x>, busy-frame-ms <ms>.
// With --cost alone it measures the whole game's start-up and idle cost instead (CostFigures).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CostFigures.h"
#include "graphics/SurfEngine.h"

namespace {

constexpr int FrameW = 800, FrameH = 600, Sprite = 64;

// Everything the benchmarks draw, built once: the same pixels for both libraries.
struct TScene {
    TSurfEngine Engine;
    std::vector<TPoint> SpritePlaces;  // 64x64 sprites tiling the frame, the last ones clipped
    std::vector<TCharsRect> Glyphs;
    pixman_image_t *Frame = nullptr, *SpriteColor = nullptr, *SpriteAlpha = nullptr,
                   *SpriteWithAlpha = nullptr, *Layer = nullptr, *LayerAlpha = nullptr,
                   *LayerWithAlpha = nullptr, *Opacity128 = nullptr;
    std::vector<uint32_t> MemcpySource, MemcpyDest;

    TScene() {
        Engine.CreateEmptySurface("frame", FrameW, FrameH);
        Engine.CreateEmptySurface("background", FrameW, FrameH);
        Engine.CreateEmptySurface("layer", FrameW, FrameH);
        Engine.CreateEmptySurface("sprite", Sprite, Sprite);
        Engine.CreateEmptySurface("cell", 65, 73);
        Engine.CreateEmptySurface("font", 160, 20);
        Paint("background", 3);
        Paint("layer", 5);
        Paint("sprite", 7);
        Paint("cell", 11);
        Paint("font", 13);
        SoftAlpha("sprite");
        SoftAlpha("cell");
        SoftAlpha("font");
        // The full-frame layer: a vignette, opaque in the middle, fading to the borders.
        Engine.CreateAlphaChannel("layer", 0);
        TSurface* layer = Engine.FindSurface("layer");
        for (int y = 0; y < FrameH; ++y) {
            for (int x = 0; x < FrameW; ++x) {
                const double d = std::hypot((x - 400) / 400.0, (y - 300) / 300.0);
                layer->Alpha[size_t(y) * FrameW + x] =
                    uint8_t(std::clamp(int((1.2 - d) * 400), 0, 255));
            }
        }
        for (int y = 0; y < FrameH; y += Sprite) {
            for (int x = 0; x < FrameW; x += Sprite) SpritePlaces.push_back({x, y});
        }
        for (int i = 0; i < 16; ++i) {
            Glyphs.push_back({(i % 16) * 10, 0, (i % 16) * 10 + 9, 17, 0, 0, 0x00FFFFFF, 255});
        }

        Frame = Wrap("frame", PIXMAN_x8r8g8b8);
        SpriteColor = Wrap("sprite", PIXMAN_x8r8g8b8);
        SpriteAlpha = WrapAlpha("sprite");
        SpriteWithAlpha = Wrap("sprite", PIXMAN_x8r8g8b8);
        pixman_image_set_alpha_map(SpriteWithAlpha, SpriteAlpha, 0, 0);
        Layer = Wrap("layer", PIXMAN_x8r8g8b8);
        LayerAlpha = WrapAlpha("layer");
        LayerWithAlpha = Wrap("layer", PIXMAN_x8r8g8b8);
        pixman_image_set_alpha_map(LayerWithAlpha, LayerAlpha, 0, 0);
        const pixman_color_t half = {0, 0, 0, 0x8080};
        Opacity128 = pixman_image_create_solid_fill(&half);
        MemcpySource.assign(size_t(FrameW) * FrameH, 0x00123456);
        MemcpyDest.assign(size_t(FrameW) * FrameH, 0);
    }

    ~TScene() {
        for (pixman_image_t* image : {Frame, SpriteColor, SpriteAlpha, SpriteWithAlpha, Layer,
                                      LayerAlpha, LayerWithAlpha, Opacity128}) {
            pixman_image_unref(image);
        }
    }

    void Paint(const std::string& name, int seed) {
        TSurface* s = Engine.FindSurface(name);
        for (int y = 0; y < s->Height; ++y) {
            for (int x = 0; x < s->Width; ++x) {
                const uint32_t v = uint32_t((x * seed) & 255) |
                                   uint32_t((y * 3 + seed) & 255) << 8 |
                                   uint32_t(((x + y) * seed) & 255) << 16;
                std::memcpy(s->Bits + size_t(y) * s->Pitch + 4 * x, &v, 4);
            }
        }
    }

    // Opaque inside, a soft rim, transparent corners.
    void SoftAlpha(const std::string& name) {
        Engine.CreateAlphaChannel(name, 0);
        TSurface* s = Engine.FindSurface(name);
        const double cx = (s->Width - 1) / 2.0, cy = (s->Height - 1) / 2.0;
        for (int y = 0; y < s->Height; ++y) {
            for (int x = 0; x < s->Width; ++x) {
                const double d = std::hypot((x - cx) / cx, (y - cy) / cy);
                s->Alpha[size_t(y) * s->Width + x] =
                    uint8_t(std::clamp(int((1 - d) * 1024), 0, 255));
            }
        }
    }

    pixman_image_t* Wrap(const std::string& name, pixman_format_code_t format) {
        TSurface* s = Engine.FindSurface(name);
        return pixman_image_create_bits(format, s->Width, s->Height,
                                        reinterpret_cast<uint32_t*>(s->Bits), s->Pitch);
    }

    // pixman wants a8 rows 4-byte aligned: the sizes used here are multiples of 4.
    pixman_image_t* WrapAlpha(const std::string& name) {
        TSurface* s = Engine.FindSurface(name);
        return pixman_image_create_bits(PIXMAN_a8, s->Width, s->Height,
                                        reinterpret_cast<uint32_t*>(s->Alpha.data()), s->Width);
    }
};

TScene& Scene() {
    static TScene scene;
    return scene;
}

void OursAlpha(benchmark::State& state, uint8_t opacity) {
    TScene& s = Scene();
    for (auto _ : state) {
        for (const TPoint& p : s.SpritePlaces) {
            s.Engine.DrawWithAlphaChannel("sprite", "frame", p.X, p.Y, opacity, nullptr);
        }
        s.Engine.DrawWithAlphaChannel("layer", "frame", 0, 0, opacity, nullptr);
        benchmark::ClobberMemory();
    }
}

void BM_AlphaDraw255_Ours(benchmark::State& state) {
    OursAlpha(state, 255);
}
void BM_AlphaDraw128_Ours(benchmark::State& state) {
    OursAlpha(state, 128);
}

void BM_AlphaDraw255_Pixman(benchmark::State& state) {
    TScene& s = Scene();
    for (auto _ : state) {
        for (const TPoint& p : s.SpritePlaces) {
            pixman_image_composite32(PIXMAN_OP_OVER, s.SpriteColor, s.SpriteAlpha, s.Frame, 0, 0, 0,
                                     0, p.X, p.Y, Sprite, Sprite);
        }
        pixman_image_composite32(PIXMAN_OP_OVER, s.Layer, s.LayerAlpha, s.Frame, 0, 0, 0, 0, 0, 0,
                                 FrameW, FrameH);
        benchmark::ClobberMemory();
    }
}

// Opacity as a constant mask; the picture's own alpha then rides on the source as its alpha map.
void BM_AlphaDraw128_Pixman(benchmark::State& state) {
    TScene& s = Scene();
    for (auto _ : state) {
        for (const TPoint& p : s.SpritePlaces) {
            pixman_image_composite32(PIXMAN_OP_OVER, s.SpriteWithAlpha, s.Opacity128, s.Frame, 0, 0,
                                     0, 0, p.X, p.Y, Sprite, Sprite);
        }
        pixman_image_composite32(PIXMAN_OP_OVER, s.LayerWithAlpha, s.Opacity128, s.Frame, 0, 0, 0,
                                 0, 0, 0, FrameW, FrameH);
        benchmark::ClobberMemory();
    }
}

void BM_AddBlend_Ours(benchmark::State& state) {
    TScene& s = Scene();
    const TRect whole{0, 0, FrameW - 1, FrameH - 1};
    for (auto _ : state) {
        s.Engine.AddBlend("frame", "layer", "frame", &whole, &whole, &whole);
        benchmark::ClobberMemory();
    }
}

void BM_AddBlend_PixmanAdd(benchmark::State& state) {
    TScene& s = Scene();
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_ADD, s.Layer, nullptr, s.Frame, 0, 0, 0, 0, 0, 0, FrameW,
                                 FrameH);
        benchmark::ClobberMemory();
    }
}

void BM_OpaqueCopy_Ours(benchmark::State& state) {
    TScene& s = Scene();
    for (auto _ : state) {
        s.Engine.DrawSurface("background", "frame", 0, 0, nullptr);
        benchmark::ClobberMemory();
    }
}

void BM_OpaqueCopy_Memcpy(benchmark::State& state) {
    TScene& s = Scene();
    TSurface* from = s.Engine.FindSurface("background");
    TSurface* to = s.Engine.FindSurface("frame");
    for (auto _ : state) {
        for (int y = 0; y < FrameH; ++y) {
            std::memcpy(to->Bits + size_t(y) * to->Pitch, from->Bits + size_t(y) * from->Pitch,
                        size_t(FrameW) * 4);
        }
        benchmark::ClobberMemory();
    }
}

// The worst screen: the background, 117 cell pictures of 65x73 (the 13 x 9 board), 300 particle
// sprites at opacity 128 and 40 glyph runs of 16 glyphs.
void BM_BusyFrame(benchmark::State& state) {
    TScene& s = Scene();
    std::vector<TCharsRect> run = s.Glyphs;
    for (auto _ : state) {
        s.Engine.DrawSurface("background", "frame", 0, 0, nullptr);
        for (int column = 0; column < 13; ++column) {
            for (int row = 0; row < 9; ++row) {
                s.Engine.DrawWithAlphaChannel("cell", "frame", 10 + column * 59,
                                              20 + row * 62 + (column % 2) * 31, 255, nullptr);
            }
        }
        for (int i = 0; i < 300; ++i) {
            s.Engine.DrawWithAlphaChannel("sprite", "frame", (i * 97) % 760 - 20,
                                          (i * 61) % 580 - 20, 128, nullptr);
        }
        for (int line = 0; line < 40; ++line) {
            for (size_t g = 0; g < run.size(); ++g) {
                run[g].X = 20 + int(g) * 11 + (line % 2) * 380;
                run[g].Y = 10 + (line / 2) * 28;
            }
            s.Engine.DrawText("font", "frame", int(run.size()), run.data());
        }
        benchmark::ClobberMemory();
    }
}

constexpr int Repeats = 5;

#define TERVOLIN_BENCH(fn) \
    BENCHMARK(fn)->Unit(benchmark::kMicrosecond)->Repetitions(Repeats)->MinTime(0.2)

TERVOLIN_BENCH(BM_AlphaDraw255_Ours);
TERVOLIN_BENCH(BM_AlphaDraw255_Pixman);
TERVOLIN_BENCH(BM_AlphaDraw128_Ours);
TERVOLIN_BENCH(BM_AlphaDraw128_Pixman);
TERVOLIN_BENCH(BM_AddBlend_Ours);
TERVOLIN_BENCH(BM_AddBlend_PixmanAdd);
TERVOLIN_BENCH(BM_OpaqueCopy_Ours);
TERVOLIN_BENCH(BM_OpaqueCopy_Memcpy);
TERVOLIN_BENCH(BM_BusyFrame);

// Keeps the best (lowest) processor time per benchmark in microseconds while printing as usual:
// the benchmarks are single-threaded, so on an idle machine this equals the wall time, and on a
// shared one it leaves out the time spent waiting for a processor.
class TBestReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
            const double us = run.GetAdjustedCPUTime();
            auto [it, added] = Best.emplace(run.run_name.function_name, us);
            if (!added) it->second = std::min(it->second, us);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> Best;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--cost") return PrintCostFigures();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TBestReporter reporter;
    std::printf("row kernels: %s\n", TRowKernels::Active().Name);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ratio = [&](const char* label, const char* ours, const char* theirs) {
        const auto a = reporter.Best.find(ours), b = reporter.Best.find(theirs);
        if (a != reporter.Best.end() && b != reporter.Best.end() && b->second > 0) {
            std::printf("ratio %s %.3f\n", label, a->second / b->second);
        }
    };
    ratio("alpha-draw-255/pixman", "BM_AlphaDraw255_Ours", "BM_AlphaDraw255_Pixman");
    ratio("alpha-draw-128/pixman", "BM_AlphaDraw128_Ours", "BM_AlphaDraw128_Pixman");
    ratio("add-blend/pixman-add", "BM_AddBlend_Ours", "BM_AddBlend_PixmanAdd");
    ratio("opaque-copy/memcpy", "BM_OpaqueCopy_Ours", "BM_OpaqueCopy_Memcpy");
    const auto busy = reporter.Best.find("BM_BusyFrame");
    if (busy != reporter.Best.end()) std::printf("busy-frame-ms %.3f\n", busy->second / 1000);
    const auto fx = reporter.Best.find("BM_FxUpdate1000");
    if (fx != reporter.Best.end()) std::printf("fx-update-1000-us %.1f\n", fx->second);
    const auto play = reporter.Best.find("BM_PlayFrame");
    if (play != reporter.Best.end()) std::printf("play-frame-ms %.3f\n", play->second / 1000);
    const auto timers = reporter.Best.find("BM_PlayTimers");
    if (timers != reporter.Best.end()) std::printf("play-timers-us %.1f\n", timers->second);
    benchmark::Shutdown();
    return 0;
}
