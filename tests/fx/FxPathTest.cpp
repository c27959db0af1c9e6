// Piecewise functions: path scripts, timing, endings, smoothing, lengths and moving points.
#include <cmath>

#include "support/FxTestSupport.h"
#include "fx/KelFXFunctions.h"

namespace {

TKelVector At(const TKelPiecewiseFunc& f, uint32_t time, bool derivative = false) {
    TKelVector v;
    f.Evaluate(time, derivative, v);
    return v;
}

TKelPiecewiseFunc Path(const std::string& script, int dim = 2) {
    TKelPiecewiseFunc f;
    f.SetName("F");
    f.Dim = uint8_t(dim);
    f.SetScript(script);
    return f;
}

struct TEndingCase {
    const char* Ending;
    uint32_t Time;
    float X;
};

TEST(FxPath, LinearSegmentWithEachEnding) {
    const TEndingCase cases[] = {
        {"", 0, 0},
        {"", 500, 50},
        {"", 1000, 100},
        {"", 1500, 0},  // after the end: the end value (0, 0, 0)
        {"Ending Stop (100,0);", 1500, 100},
        {"ending loop;", 1500, 50},
        {"Ending Loop;", 2000, 0},
        {"Ending Reverse;", 1500, 50},
        {"Ending Reverse;", 1750, 25},
        {"Ending Reverse;", 2500, 50},
        {"Ending Reverse;", 2250, 25},
        {"Ending ReverseStop (7);", 1750, 25},
        {"Ending ReverseStop (7);", 2001, 7},
        {"Ending Stop;", 1500, 0},  // "stop" without a vector changes nothing
    };
    for (const TEndingCase& c : cases) {
        SCOPED_TRACE(std::string(c.Ending) + " at " + std::to_string(c.Time));
        const TKelPiecewiseFunc f = Path(std::string("Path (0,0) -- (100,0); ") + c.Ending);
        EXPECT_EQ(f.TotalTime, 1000u);
        EXPECT_NEAR(At(f, c.Time)[0], c.X, 1e-3);
        EXPECT_NEAR(At(f, c.Time)[1], 0, 1e-3);
    }
}

TEST(FxPath, KeywordsInAnyCaseAndTheGamesOwnScript) {
    const TKelPiecewiseFunc f =
        Path("SET LINEAR; sEt TiMiNg 0.3; PATH (10,20) (40,60); ENDING STOP; trailing text");
    EXPECT_EQ(f.Pieces.size(), 1u);
    EXPECT_EQ(f.Pieces[0].Kind, 0);
    EXPECT_EQ(f.TotalTime, 300u);
    ExpectVector(At(f, 150), 25, 40);
    ExpectVector(At(f, 301), 0, 0);
    ExpectVector(At(f, 150, true), 30, 40);  // derivative with respect to s
}

TEST(FxPath, TimingsPerSegmentAndBySpeed) {
    const TKelPiecewiseFunc speed = Path("Set Linear; Set Timing +0.1; Path (0,0) (100,0);");
    EXPECT_EQ(speed.TotalTime, 1000u);  // 100 units at 0.1 units per ms
    const TKelPiecewiseFunc quoted =
        Path("Path (0,0) --\"0.5\" (100,0) --\"2\" (100,100) -- \"+0.5\" (100,150);");
    ASSERT_EQ(quoted.Pieces.size(), 3u);
    EXPECT_EQ(quoted.Pieces[0].Duration, 500u);
    EXPECT_EQ(quoted.Pieces[1].Duration, 2000u);
    EXPECT_EQ(quoted.Pieces[2].Duration, 100u);
    EXPECT_EQ(quoted.TotalTime, 2600u);
    ExpectVector(At(quoted, 1500), 100, 50);
    // A piece of zero duration is skipped at its start time; malformed numbers read as 0.
    const TKelPiecewiseFunc odd = Path("Path (0,zz) --\"0\" (5,5) -- (15,5);");
    EXPECT_EQ(odd.Pieces[0].Duration, 0u);
    ExpectVector(At(odd, 0), 0, 0);
    ExpectVector(At(odd, 500), 10, 5);
}

TEST(FxPath, BezierLengthsAndSmoothVertices) {
    // Control points on the chord: the chord's length.
    TKelPieces straight;
    straight.Kind = 1;
    straight.P0 = {{0, 0, 0}}, straight.P1 = {{10, 0, 0}}, straight.P2 = {{70, 0, 0}};
    straight.P3 = {{100, 0, 0}};
    EXPECT_NEAR(PieceLength(straight, 2), 100, 1e-3);
    // A quarter-circle-like curve is longer than its chord and shorter than its polygon.
    TKelPieces bent = straight;
    bent.P1 = {{0, 55, 0}}, bent.P2 = {{45, 100, 0}}, bent.P3 = {{100, 100, 0}};
    const float length = PieceLength(bent, 2);
    EXPECT_GT(length, std::sqrt(2.0f) * 100);
    EXPECT_LT(length, 55 + 45 * std::sqrt(2.0f) + 55);

    // At an inner vertex of a Bezier path both handles lie on one line through the vertex.
    const TKelPiecewiseFunc f = Path("Path (0,0) .. (100,0) .. (100,100);");
    ASSERT_EQ(f.Pieces.size(), 2u);
    const TKelPieces& e = f.Pieces[0];
    const TKelPieces& b = f.Pieces[1];
    const TKelVector in = VectSub(e.P2, e.P3, 2), out = VectSub(b.P1, b.P0, 2);
    EXPECT_NEAR(in[0] * out[1] - in[1] * out[0], 0, 1e-3);  // collinear
    EXPECT_LT(VectDot(in, out, 2), 0);                      // on opposite sides
    ExpectVector(At(f, 1000), 100, 0);
    ExpectVector(At(f, 2000), 100, 100);
}

TEST(FxPath, ZeroTotalTimeAndEmptyPathsHaveAValue) {
    // All pieces with timing 0: loops and reverses map every time to the start.
    for (const char* ending : {"Loop", "Reverse"}) {
        const TKelPiecewiseFunc f =
            Path(std::string("Set Timing 0; Path (3,4) -- (9,9); Ending ") + ending + ";");
        EXPECT_EQ(f.TotalTime, 0u);
        ExpectVector(At(f, 12345), 3, 4);
    }
    const TKelPiecewiseFunc stop = Path("Set Timing 0; Path (3,4) -- (9,9); Ending Stop (1,1);");
    ExpectVector(At(stop, 0), 3, 4);
    ExpectVector(At(stop, 1), 1, 1);
    // Without pieces.
    ExpectVector(At(Path("Path (3,4); Ending Loop;"), 777), 0, 0);
    ExpectVector(At(Path(""), 0), 0, 0);
}

TEST(FxPath, HostileNumbersStayFinite) {
    // An infinite control point: the length is 0 instead of an endless split.
    const TKelPiecewiseFunc f = Path("Path (0,0) .. (1e39,5) .. (1,1) .. (1e-39, -1e38);", 3);
    for (const TKelPieces& piece : f.Pieces) EXPECT_TRUE(std::isfinite(piece.Length));
    At(f, 500);
    const TKelPiecewiseFunc huge = Path("Set Timing 1e30; Path (0,0) (1,1) (2,2);");
    EXPECT_EQ(huge.TotalTime, UINT32_MAX);
    ExpectVector(At(huge, UINT32_MAX), 1, 1, 0, 0.01f);
}

TEST(FxPath, MovingPoints) {
    TKelPiecewiseFunc f = Path("Set Linear; Path (0,0) (100,0) (200,0);");
    EXPECT_EQ(f.VertexCount(), 3);
    EXPECT_EQ(f.GetParamIdx("FPath[2]"), 2);
    f.SetParamByName("[2]", {{100, 50, 0}});
    ExpectVector(At(f, 1000), 100, 50);
    ExpectVector(At(f, 500), 50, 25);
    ExpectVector(At(f, 1500), 150, 25);
    f.SetParam(3, {{300, 0, 0}});  // a free end
    ExpectVector(At(f, 2000), 300, 0);
    for (int index : {-1, 4, 100})
        EXPECT_EQ(ErrorOf([&] { f.SetParam(index, {}); }),
                  "[TKelMorpFunc.SetParam]: Invalid TKelPiecewiseFunc function \"F\" parameter "
                  "index " +
                      std::to_string(index));
    EXPECT_EQ(ErrorOf([&] { f.GetParamIdx("P2"); }),
              "[TKelMorphFunc.GetParamIdx]: Invalid TKelPiecewiseFunc function \"F\" parameter "
              "\"P2\"");
}

TEST(FxPath, ScriptsAppendAndCopiesAreIndependent) {
    TKelPiecewiseFunc f = Path("Set Linear; Path (0,0) (10,0);");
    f.SetScript("Path (10,0) (10,10);");
    EXPECT_EQ(f.Pieces.size(), 2u);
    EXPECT_EQ(f.Pieces[1].Kind, 0);  // the default curve persists between scripts
    EXPECT_EQ(f.TotalTime, 2000u);
    f.SetScript("   ");
    EXPECT_EQ(f.Pieces.size(), 2u);
    TKelPiecewiseFunc copy;
    copy.Assign(&f);
    f.SetParam(2, {{50, 50, 0}});
    ExpectVector(At(copy, 1000), 10, 0);
    ExpectVector(At(f, 1000), 50, 50);
}

}  // namespace
