// Morph functions: the constant, parabolic and periodic kinds, periodic expressions, StrToVect,
// parameter names and indices, and the "Function" element.
#include <cmath>
#include <numbers>

#include "support/FxTestSupport.h"
#include "fx/KelFXFunctions.h"
#include "fx/KelFXNumbers.h"

namespace {

std::unique_ptr<TKelMorphFunc> FunctionFrom(const std::string& text) {
    TKelParser document;
    return CreateMorphFuncByTag(ParseElement(document, text));
}

TEST(FxFunctions, ConstantAndParabolicValuesAndDerivatives) {
    auto constant = FunctionFrom(
        R"(<Function Name="C" Dim="2" Type="constant"><Value>(3,4,9)</Value></Function>)");
    TKelVector v;
    constant->Evaluate(123, false, v);
    ExpectVector(v, 3, 4, 0);  // the component beyond Dim stays 0
    constant->Evaluate(123, true, v);
    ExpectVector(v, 0, 0, 0);

    // No factor one half: A = 2 gives x = 2 at one second.
    auto parabola = FunctionFrom(
        R"(<Function Name="P" Dim="3" Type="parabolic"><StartPosition>(1,0,5)</StartPosition>)"
        R"(<StartVelocity>(0,10,0)</StartVelocity><Acceleration>(2,0,-1)</Acceleration></Function>)");
    parabola->Evaluate(1000, false, v);
    ExpectVector(v, 3, 10, 4);
    parabola->Evaluate(500, true, v);
    ExpectVector(v, 2, 10, -1);
}

struct TExpressionCase {
    const char* Text;
    TKelPeriodicTerm Term;
};

TEST(FxFunctions, PeriodicExpressionsGiveTheirTerms) {
    const float half = std::numbers::pi_v<float> / 2;
    const TExpressionCase cases[] = {
        {"sin(t)", {0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0}},
        {"cos(t)", {0, 0, 1, 1, half, 0, 0, 0, 0, 0, 0}},
        {"5", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}},
        {"2 * sin(3*t + 1.5) + 10", {0, 0, 2, 3, 1.5f, 0, 0, 0, 0, 0, 10}},
        {"cos(t)*sin(2*t)", {1, 0, 1, 1, half, 2, 0, 0, 0, 0, 0}},
        {"-SIN(3+4)", {0, 0, -1, 4, 3, 0, 0, 0, 0, 0, 0}},  // no "t": the second part is a
        {"sin(2t)", {0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0}},     // "2t" alone has frequency 1
        {"sin(2t+1)", {0, 0, 1, 2, 1, 0, 0, 0, 0, 0, 0}},
        {"sin(t*4)", {0, 0, 1, 4, 0, 0, 0, 0, 0, 0, 0}},
        {"3*sin(0.5*cos(2*t)+t-1)-2", {0, 1, 3, 1, -1, 0, 0, 0.5f, 2, half, -2}},
    };
    for (const TExpressionCase& c : cases) {
        SCOPED_TRACE(c.Text);
        TKelPeriodicFunc f;
        f.SetExpression(0, c.Text);
        const TKelPeriodicTerm& t = f.Terms[0];
        EXPECT_EQ(t.HasEnvelope, c.Term.HasEnvelope);
        EXPECT_EQ(t.HasModulation, c.Term.HasModulation);
        const float got[] = {t.g1, t.a1, t.b1, t.a2, t.b2, t.g3, t.a3, t.b3, t.c};
        const float want[] = {c.Term.g1, c.Term.a1, c.Term.b1, c.Term.a2, c.Term.b2,
                              c.Term.g3, c.Term.a3, c.Term.b3, c.Term.c};
        for (int i = 0; i < 9; ++i) EXPECT_NEAR(got[i], want[i], 1e-6) << "field " << i;
    }
}

TEST(FxFunctions, PeriodicExpressionErrors) {
    TKelPeriodicFunc f;
    EXPECT_EQ(ErrorOf([&] { f.SetExpression(0, "sin t"); }),
              "Open bracket not found in expression \"sin t\"");
    EXPECT_EQ(ErrorOf([&] { f.SetExpression(0, "sin((t)"); }),
              "Mismatching brackets in expression \"sin((t)\"");
    EXPECT_EQ(ErrorOf([&] { f.SetExpression(0, "sin(2t+3t)"); }),
              "Invalid sine argument \"sin(2t+3t)\"");
    EXPECT_NE(ErrorOf([&] { f.SetExpression(0, "sin(t)+x"); }), "");
}

TEST(FxFunctions, PeriodicValueAndExactDerivative) {
    TKelPeriodicFunc f;
    f.Dim = 1;
    f.SetExpression(0, "2*sin(0.5*sin(4*t)+3*t)*cos(t+1)+1");
    TKelVector v, d, before, after;
    f.Evaluate(700, false, v);
    const double t = 0.7;
    EXPECT_NEAR(v[0], 2 * std::sin(3 * t + 0.5 * std::sin(4 * t)) * std::cos(t + 1) + 1, 1e-4);
    f.Evaluate(700, true, d);
    f.Evaluate(699, false, before);
    f.Evaluate(701, false, after);
    EXPECT_NEAR(d[0], (after[0] - before[0]) / 0.002, 2e-2);

    TKelPeriodicFunc fresh;  // sin t in the first two components until replaced, third 0
    fresh.Dim = 3;
    fresh.Evaluate(1000, false, v);
    ExpectVector(v, std::sin(1.0f), std::sin(1.0f), 0);
}

TEST(FxFunctions, StrToVect) {
    ExpectVector(StrToVect(" (1, 2) "), 1, 2, 0);
    ExpectVector(StrToVect("-1.5e1"), -15, 0, 0);
    EXPECT_EQ(ErrorOf([] { StrToVect("(1,2,3,4)"); }),
              "[StrToVect]: \"(1,2,3,4)\" string-to-vector convertation failed");
    EXPECT_EQ(ErrorOf([] { StrToVect(""); }),
              "[StrToVect]: \"\" string-to-vector convertation failed");
    EXPECT_EQ(ErrorOf([] { StrToVect("(1,x)"); }), "'x' is not a valid floating point value");
}

TEST(FxFunctions, ParameterNamesAndIndices) {
    TKelParabolicFunc f;
    f.SetName("Fall");
    EXPECT_EQ(f.GetParamIdx("Weight"), 0);
    EXPECT_EQ(f.GetParamIdx("Acceleration"), 3);
    f.SetParamByName("Weight", {{0.25f, 9, 9}});
    EXPECT_FLOAT_EQ(f.Weight, 0.25f);
    EXPECT_EQ(ErrorOf([&] { f.GetParamIdx("Speed"); }),
              "[TKelMorphFunc.GetParamIdx]: Invalid TKelParabolicFunc function \"Fall\" "
              "parameter \"Speed\"");
    EXPECT_EQ(ErrorOf([&] { f.SetParam(4, {}); }),
              "[TKelMorpFunc.SetParam]: Invalid TKelParabolicFunc function \"Fall\" parameter "
              "index 4");
    TKelPeriodicFunc p;
    EXPECT_EQ(p.GetParamIdx("c"), 9);
    p.Dim = 2;
    p.SetParam(9, {{1, 2, 3}});
    EXPECT_FLOAT_EQ(p.Terms[1].c, 2);
    EXPECT_FLOAT_EQ(p.Terms[2].c, 0);  // beyond Dim
}

TEST(FxFunctions, FunctionElement) {
    EXPECT_EQ(FunctionFrom(R"(<Other Dim="1" Type="constant"/>)"), nullptr);
    EXPECT_EQ(ErrorOf([] { FunctionFrom(R"(<Function Name="F" Type="constant"/>)"); }),
              "[CreateMorphFuncByTag]: <Function> tag has no \"Dim\" attribute");
    EXPECT_EQ(ErrorOf([] { FunctionFrom(R"(<Function Name="F" Dim="1"/>)"); }),
              "[CreateMorphFuncByTag]: <Function> tag has no \"Type\" attribute");
    EXPECT_EQ(ErrorOf([] { FunctionFrom(R"(<Function Name="F" Dim="1" Type="Constant"/>)"); }),
              "[CreateMorphFuncByTag]: Invalid <Function> tag \"Type\" attribute value");
    // Dimensions outside 1..3 would index past the three components.
    for (const char* dim : {"0", "4", "-1", "255"})
        EXPECT_NE(ErrorOf([&] {
                      FunctionFrom(std::string("<Function Name=\"F\" Dim=\"") + dim +
                                   "\" Type=\"constant\"/>");
                  }),
                  "")
            << dim;
    auto periodic = FunctionFrom(
        R"(<Function Name="Wave" Dim="2" Type="periodic"><YParam>5</YParam></Function>)");
    TKelVector v;
    periodic->Evaluate(0, false, v);
    ExpectVector(v, 0, 5);  // the X component keeps its default sin t
    EXPECT_EQ(periodic->Name(), "Wave");
}

TEST(FxFunctions, LibraryKeepsTheFirstOfAName) {
    TKelMorphFuncLib library;
    auto first = std::make_unique<TKelConstantFunc>();
    first->SetName("Same");
    EXPECT_EQ(AddFuncToLib(&library, std::move(first)), 0);
    auto second = std::make_unique<TKelConstantFunc>();
    second->SetName("SAME");
    EXPECT_EQ(AddFuncToLib(&library, std::move(second)), 0);
    EXPECT_EQ(library.Count(), 1);
    EXPECT_EQ(library.GetFunc(0)->Owned, 0);
    EXPECT_EQ(ErrorOf([&] { AddFuncToLib(&library, nullptr); }),
              "[AddFuncToLib]: Function reference is invalid");
    EXPECT_EQ(ErrorOf([] { AddFuncToLib(nullptr, std::make_unique<TKelConstantFunc>()); }),
              "[AddFuncToLib]: Library reference is invalid");
}

TEST(FxFunctions, SaturatingConversions) {
    EXPECT_EQ(SaturateRound<int32_t>(2.5), 2);
    EXPECT_EQ(SaturateRound<int32_t>(3.5), 4);
    EXPECT_EQ(SaturateRound<int32_t>(-2.5), -2);
    EXPECT_EQ(SaturateRound<int32_t>(NAN), 0);
    EXPECT_EQ(SaturateRound<int32_t>(INFINITY), INT32_MAX);
    EXPECT_EQ(SaturateRound<int32_t>(-1e30), INT32_MIN);
    EXPECT_EQ(SaturateRound<uint32_t>(-5.0), 0u);
    EXPECT_EQ(SaturateRound<uint32_t>(5e9), UINT32_MAX);
    EXPECT_EQ(SaturateTrunc<uint8_t>(300.7), 255);
    EXPECT_EQ(SaturateTrunc<int32_t>(-7.9), -7);
}

}  // namespace
