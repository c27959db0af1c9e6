// Morphs: evaluation (sum, scale, rotation, position, projection), properties read from
// "Morph" elements, child morphs, random ranges, rotators and copies.
#include <cmath>
#include <numbers>

#include "support/FxTestSupport.h"
#include "fx/KelFXMorphs.h"

namespace {

// A function and a morph library with the functions of `functions` and the morphs of `morphs`
// read in order, as an effect file would.
struct TMorphFixture {
    TKelMorphFuncLib Functions;
    TKelMorphLib Morphs;

    TMorphFixture(const std::string& functions, const std::string& morphs) {
        TKelParser document;
        document.LoadFromString("<F>" + functions + "</F><M>" + morphs + "</M>");
        const TKelXMLTag* f = document.GetTag(0);
        for (int i = 0; i < f->TagCount(); ++i)
            AddFuncToLib(&Functions, CreateMorphFuncByTag(f->GetTag(i)));
        const TKelXMLTag* m = document.GetTag(1);
        for (int i = 0; i < m->TagCount(); ++i)
            AddMorphToLib(&Morphs, CreateMorphByTag(m->GetTag(i), &Functions, &Morphs));
    }
    TKelMorph* Morph(const std::string& name) { return Morphs.GetMorph(Morphs.IndexOf(name)); }
};

const char* const ConstantXY =
    R"(<Function Name="C" Dim="2" Type="constant"><Value>(3,4)</Value></Function>)";

std::string MorphWith(const std::string& properties, const std::string& extra = "") {
    return R"(<Morph Name="M" Dim="2"><Functions><Function Name="C"/></Functions><Properties>)" +
           properties + "</Properties></Morph>" + extra;
}

TEST(FxMorph, RotationAndPositionOfASum) {
    TKelConstantFunc constant;  // library functions outlive the morphs that use them
    TKelMorph morph;
    morph.Dim = 2;
    constant.Value = {{3, 4, 0}};
    constant.Owned = 0;
    ASSERT_EQ(morph.AddFunc(&constant), 0);
    morph.SetRotation({{std::numbers::pi_v<float> / 2, 0, 0}});
    ExpectVector(morph.Evaluate2D(0), 4, -3);
    morph.SetPosition({{10, 0, 0}});
    ExpectVector(morph.Evaluate2D(0), 14, -3);
    constant.Weight = 2;
    morph.SetScale({{0.5f, 1, 1}});
    // Weight 2 gives (6, 8), scaled (3, 8), turned (8, -3), moved (18, -3).
    ExpectVector(morph.Evaluate2D(0), 18, -3);
    TKelConstantFunc other;
    other.Dim = 3;
    EXPECT_EQ(morph.AddFunc(&other), -1);  // another dimension is not added
}

TEST(FxMorph, PropertiesReadFromTheElement) {
    TMorphFixture fx(
        std::string(ConstantXY) +
            R"(<Function Name="Fall" Dim="2" Type="parabolic"><StartVelocity>(10,0)</StartVelocity></Function>)",
        R"(<Morph Name="M" Dim="2" StartTime="100"><Functions><Function Name="Fall"/></Functions>)"
        R"(<Properties><Property Name="StartTime">0.5</Property><Property Name="ViewportWidth">801</Property>)"
        R"(<Property Name="ViewportHeight">-7</Property><Property Name="Scale">0</Property>)"
        R"(<Property Name="CameraDistance">500.5</Property></Properties></Morph>)");
    TKelMorph* m = fx.Morph("m");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->StartTime, 100u);
    EXPECT_EQ(m->TimeOffset, 500);
    EXPECT_EQ(m->CenterX, 400);
    EXPECT_EQ(m->CenterY, -3);
    EXPECT_EQ(m->HasScale, 0);  // a zero scale in a file is ignored
    EXPECT_FLOAT_EQ(m->CameraDistance, 500.5f);
    ExpectVector(m->Evaluate2D(100), 5, 0);  // functions run 500 ms ahead of StartTime
    ExpectVector(m->Evaluate2D(600), 10, 0);
}

TEST(FxMorph, ProjectionOfThreeDimensionalMorphs) {
    TKelConstantFunc point;
    TKelMorph morph;
    morph.SetDim(3);
    point.Dim = 3;
    point.Owned = 0;
    morph.AddFunc(&point);
    const struct {
        TKelVector Point;
        float X, Y;
    } cases[] = {
        {{{100, 50, 0}}, 500, 250},
        {{{100, 50, 720}}, 450, 275},
        {{{100, 50, -720}}, 400, 300},  // in the camera's plane: the centre
    };
    for (const auto& c : cases) {
        point.Value = c.Point;
        ExpectVector(morph.EvaluateProjected(0), c.X, c.Y);
    }
}

TEST(FxMorph, DimensionAndRotationPatterns) {
    TKelConstantFunc point;
    TKelMorph morph;
    for (int dim : {0, 4, 2}) morph.SetDim(dim);
    EXPECT_EQ(morph.Dim, 2);
    morph.SetDim(3);
    EXPECT_EQ(morph.Rotator.Count(), 3);

    // Fixed items only and never a SetRotation: the matrix stays the identity.
    morph.SetRotationPattern("Z=0.5");
    EXPECT_EQ(morph.HasRotation, 1);
    point.Dim = 3;
    point.Owned = 0;
    point.Value = {{1, 2, 3}};
    morph.AddFunc(&point);
    ExpectVector(morph.Evaluate3D(0), 1, 2, 3);
    // Parametric items take the rotation vector's components; translation rows apply.
    morph.SetRotationPattern("(0,0,10); Z[3]");
    morph.SetRotation({{0, 0, std::numbers::pi_v<float> / 2}});
    ExpectVector(morph.Evaluate3D(0), -2, 1, 13);

    TKelRotator rotator;
    EXPECT_EQ(ErrorOf([&] { rotator.SetRotationPattern("Q"); }),
              "[TKelRotator.AddItem]: Invalid base axis value \"Q\"");
    EXPECT_EQ(ErrorOf([&] { rotator.SetRotationPattern("X[4]"); }),
              "[TKelRotator.SetRotationPattern]: Invalid rotation pattern parameter index");
    rotator.SetRotationPattern(" ; y ;");
    ASSERT_EQ(rotator.Count(), 1);
    EXPECT_EQ(rotator.Rotations[0].Angle, 0);
    EXPECT_EQ(rotator.Rotations[0].Param, 0);
}

TEST(FxMorph, RangesDrawFromTheInjectedSourceAndTheFirstOfATypeWins) {
    TMorphFixture fx(ConstantXY,
                     MorphWith(R"(<Property Name="Position">(0,100)..(10,200)</Property>)"
                               R"(<Property Name="Position">(5,5)..(6,6)</Property>)"
                               R"(<Property Name="C.Value">(1,1)..(1,1)</Property>)"));
    TKelMorph* m = fx.Morph("M");
    ASSERT_EQ(m->DynParams.size(), 2u);
    EXPECT_EQ(m->DynParams[0].Source, 1);
    EXPECT_EQ(m->DynParams[1].Source, 0);  // equal ends: a constant
    TSequenceRandom random({0.5, 0.25});
    fx.Morphs.Random = &random;
    ASSERT_TRUE(m->Initialize());
    ExpectVector(m->Position, 5, 125);
    EXPECT_EQ(m->HasPosition, 1);
    ExpectVector(m->Evaluate2D(0), 6, 126);  // the function's value became (1, 1)
    EXPECT_EQ(ErrorOf([] {
                  TMorphFixture bad(ConstantXY,
                                    MorphWith(R"(<Property Name="Position">1..2</Property>)"));
              }),
              "'1..2' is not a valid floating point value");
}

TEST(FxMorph, ChildMorphsAreReadAgainAtEveryEvaluation) {
    TMorphFixture fx(
        std::string(ConstantXY) +
            R"(<Function Name="Line" Dim="1" Type="parabolic"><StartVelocity>2</StartVelocity></Function>)",
        R"(<Morph Name="Driver" Dim="1"><Functions><Function Name="Line"/></Functions></Morph>)" +
            MorphWith(
                R"(<Property Name="Rotation">Driver</Property><Property Name="C.Value">driver</Property>)"));
    TKelMorph* m = fx.Morph("M");
    EXPECT_EQ(m->ChildBoundCount, 2);
    EXPECT_EQ(m->ChildMorphs.size(), 1u);
    ExpectVector(m->Evaluate2D(0), 0, 0);
    // At 500 ms the driver gives 1: the value (1, 0) turned by 1 radian.
    ExpectVector(m->Evaluate2D(500), std::cos(1.0f), -std::sin(1.0f));
    m->SetStartTime(1000);
    EXPECT_EQ(fx.Morph("Driver")->StartTime, 1000u);
    std::vector<TKelMorph*> tree;
    m->GetMorphTree(tree);
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0], fx.Morph("Driver"));
    EXPECT_EQ(tree[1], m);
}

TEST(FxMorph, PropertyErrors) {
    const struct {
        const char* Property;
        const char* Error;
    } cases[] = {
        {R"(<Prop Name="Position">1</Prop>)",
         "[TKelMorph.AddParamByTag]: Morph + \"M\" <Properties> tag contains invalid tag \"Prop\""},
        {R"(<Property>1</Property>)",
         "[TKelMorph.AddParamByTag]: <Property> tag has no \"Name\" attribute"},
        {R"(<Property Name=".Value">1</Property>)",
         "[TKelMorph.AddParamByTag]: <Property> tag \"Name\" attribute has invalid value "
         "\".Value\""},
        {R"(<Property Name="D.Value">1</Property>)",
         "[TKelMorph.AddParamByTag]: <Property> tag \"Name\" attribute value contains unknown "
         "Function name \"D\""},
        {R"(<Property Name="C.Speed">1</Property>)",
         "[TKelMorphFunc.GetParamIdx]: Invalid TKelConstantFunc function \"C\" parameter "
         "\"Speed\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { TMorphFixture fx(ConstantXY, MorphWith(c.Property)); }), c.Error);
    EXPECT_EQ(ErrorOf([] {
                  TMorphFixture fx(
                      ConstantXY, R"(<Morph Name="M" Dim="2"><Functions><F/></Functions></Morph>)");
              }),
              "[TKelMorph.AddFuncByTag]: <Functions> tag contains invalid child tag <F>");
}

TEST(FxMorph, CopiesTakeFunctionsFromTheirLibraryAndRedrawRanges) {
    TMorphFixture fx(
        ConstantXY,
        R"(<Morph Name="M" Dim="2"><Functions><Function Name="C" Clone="true" Weight="2"/></Functions>)"
        R"(<Properties><Property Name="C.Value">(1,0)</Property><Property Name="Position">(0,0)..(10,0)</Property></Properties></Morph>)"
        R"(<Morph Name="S" Dim="2"><Functions><Function Name="C"/><Function Name="Missing"/></Functions></Morph>)");
    TKelMorph* m = fx.Morph("M");
    ExpectVector(m->Evaluate2D(0), 2, 0);  // private copy changed, weight 2
    TKelMorph copy;
    ASSERT_TRUE(CopyMorph(&copy, m, &fx.Functions, &fx.Morphs));
    ASSERT_EQ(copy.Funcs.size(), 1u);
    EXPECT_EQ(copy.Funcs[0]->Owned, 1);
    EXPECT_NE(copy.Funcs[0], m->Funcs[0]);
    ExpectVector(copy.Evaluate2D(0), 3, 4);  // a fresh copy of the library's function
    EXPECT_EQ(copy.DynParams.size(), 1u);
    TSequenceRandom random({0.3});
    fx.Morphs.Random = &random;
    copy.Initialize();
    ExpectVector(copy.Evaluate2D(0), 6, 4);
    TKelMorph shared;
    CopyMorph(&shared, fx.Morph("S"), &fx.Functions, &fx.Morphs);
    ASSERT_EQ(shared.Funcs.size(), 1u);
    EXPECT_EQ(shared.Funcs[0], fx.Functions.GetFunc(0));  // shared, not copied
    EXPECT_FALSE(CopyMorph(&shared, nullptr, &fx.Functions, &fx.Morphs));
}

}  // namespace
