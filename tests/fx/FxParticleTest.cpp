// Particle templates and particles: parameters read from "Parameter" elements, live ranges,
// projected positions, frames, initial morph properties and their order.
#include "support/FxTestSupport.h"

namespace {

const char* const Line =
    R"(<Function Name="Line" Dim="2" Type="piecewise"><Script>Set Linear; Path (-1,0) (999,0);</Script></Function>)";
const char* const LineMorph =
    R"(<Morph Name="MLine" Dim="2"><Functions><Function Name="Line"/></Functions></Morph>)";

struct TLoaded {
    TKelParticleEffect Effect;
    TSequenceRandom Random{{0.5}};

    explicit TLoaded(const std::string& text, uint32_t start = 0) {
        Effect.SetRandom(&Random);
        Effect.LoadFromText(text);
        Effect.Start(start);
        Effect.Initialize();
    }
    TKelParticle* Particle(int index = 0, int system = 0) {
        return Effect.GetSystem(system)->GetParticle(index);
    }
};

std::string OneSystem(const std::string& functions, const std::string& morphs,
                      const std::string& parameters, int count = 1) {
    return EffectText(functions, morphs, "<Particle Name=\"P\">" + parameters + "</Particle>",
                      "<ParticleSystem Name=\"S\" Template=\"P\"><InitParticles>" +
                          std::to_string(count) + "</InitParticles></ParticleSystem>");
}

TEST(FxParticle, StandardParametersRedefinedAndAdded) {
    TLoaded loaded(OneSystem(
        "", "", R"(<Parameter Name="Rotation" Dim="1"/><Parameter Name="position" Dim="3"/>)"));
    const TKelParticleTemplate* tmpl = loaded.Effect.Templates->GetTemplate(0);
    ASSERT_EQ(tmpl->ParamTypes.size(), 7u);
    EXPECT_EQ(tmpl->ParamTypes[6].Name, "Rotation");
    EXPECT_EQ(tmpl->ParamTypes[0].Name, "position");
    EXPECT_EQ(tmpl->ParamTypes[0].Dim, 3);
    TKelParticle* p = loaded.Particle();
    ASSERT_NE(p, nullptr);
    ExpectVector(p->GetPosition(), 0, 0);
    EXPECT_FLOAT_EQ(p->GetAlpha(), 1);
    ExpectVector(p->GetColor(), 255, 255, 255);
    EXPECT_FLOAT_EQ(p->GetColorValue(), 0);
    ExpectVector(p->Params[5].Value, 1, 1, 1);
    ExpectVector(p->Params[6].Value, 0, 0, 0);
    EXPECT_EQ(p->IndexOfParam("ROTATION"), 6);
    EXPECT_EQ(p->IndexOfParam("Nothing"), -1);
    EXPECT_EQ(p->GetParamRecord(7), nullptr);
    EXPECT_EQ(p->Name(), "P0");
}

TEST(FxParticle, LiveRangeKillsOutsideAndPositionIsAddedAfter) {
    const std::string text = EffectText(
        Line, LineMorph,
        R"(<Particle Name="P"><Parameter Name="Position" Dim="2" Morph="MLine"><LiveValue>(0,0)-(800,600)</LiveValue></Parameter></Particle>)",
        R"(<ParticleSystem Name="S" Template="P"><InitParticles>1</InitParticles><MinParticles>1</MinParticles><Position>(1000,5)</Position></ParticleSystem>)");
    TLoaded loaded(text);
    TKelParticle* p = loaded.Particle();
    EXPECT_EQ(p->Dead, 1);  // x = -1 at birth, before the system's position is added
    TLoaded later(text, 0);
    TKelParticle* q = later.Particle();
    q->Dead = 0;
    q->Update(801);  // x = 800 exactly: alive
    EXPECT_EQ(q->Dead, 0);
    ExpectVector(q->GetPosition(), 1800, 5);
    q->Update(802);
    EXPECT_EQ(q->Dead, 1);
    EXPECT_EQ(ErrorOf([] {
                  TLoaded bad(OneSystem(
                      "", "",
                      R"(<Parameter Name="A" Dim="1"><LiveValue>(0)(1)</LiveValue></Parameter>)"));
              }),
              "[TKelParticleTemplate.AddParamTypeByTag]: <LiveValue> tag value \"(0)(1)\" has "
              "invalid syntax");
}

TEST(FxParticle, ProjectedPositionsAndRoundedFrames) {
    const std::string functions =
        R"(<Function Name="P3" Dim="3" Type="constant"><Value>(100,50,720)</Value></Function>)"
        R"(<Function Name="F" Dim="1" Type="piecewise"><Script>Set Linear; Path (0) (10);</Script></Function>)";
    const std::string morphs =
        R"(<Morph Name="M3" Dim="3"><Functions><Function Name="P3"/></Functions></Morph>)"
        R"(<Morph Name="MF" Dim="1"><Functions><Function Name="F"/></Functions></Morph>)";
    TLoaded loaded(OneSystem(
        functions, morphs,
        R"(<Parameter Name="Position" Dim="2" Morph="M3"/><Parameter Name="Frame" Dim="1" Morph="MF"/>)"));
    TKelParticle* p = loaded.Particle();
    ExpectVector(p->GetPosition(), 450, 275);
    const struct {
        uint32_t Time;
        int Frame;
    } frames[] = {{250, 2}, {350, 4}, {450, 4}, {50, 0}, {1000, 10}};
    for (const auto& f : frames) {
        p->Update(f.Time);
        EXPECT_EQ(p->GetFrame(), f.Frame) << f.Time;
    }
}

TEST(FxParticle, DimensionsOutsideOneToThreeAreRefused) {
    for (const char* dim : {"0", "4", "x"})
        EXPECT_NE(ErrorOf([&] {
                      TLoaded bad(OneSystem(
                          "", "", std::string("<Parameter Name=\"A\" Dim=\"") + dim + "\"/>"));
                  }),
                  "")
            << dim;
}

TEST(FxParticle, ReadingErrors) {
    const struct {
        const char* Parameters;
        const char* Error;
    } cases[] = {
        {R"(<Param Name="A" Dim="1"/>)", "<Particle> tag contains invalid tag \"Param\""},
        {R"(<Parameter Dim="1"/>)", "<Parameter> tag has no \"Name\" attribute"},
        {R"(<Parameter Name="A"/>)", "<Parameter> tag has no \"Dim\" attribute"},
        {R"(<Parameter Name="A" Dim="1" Morph="Nope"/>)",
         "<Parameter> tag \"Morph\" attribute contains unknown Morph name \"Nope\""},
        {R"(<Parameter Name="A" Dim="1"><Other/></Parameter>)",
         "<Parameter> tag contains invalid tag <Other>"},
        {R"(<Parameter Name="A" Dim="1"><InitMorphs><InitMorph Name="Nope"/></InitMorphs></Parameter>)",
         "<InitMorph> tag \"Name\" attribute contains unknown Morph name \"Nope\""},
        {R"(<Parameter Name="A" Dim="2" Morph="MLine"><InitMorphs><InitMorph Name="MLine"><Property Name="Weight.x">1</Property></InitMorph></InitMorphs></Parameter>)",
         "<Property> tag \"Name\" attribute value \"Weight.x\" contains unknown Function name"},
        {R"(<Parameter Name="A" Dim="2" Morph="MLine"><InitMorphs><InitMorph Name="MLine"><Property Name="Line.Weight">1</Property></InitMorph></InitMorphs></Parameter>)",
         "<Property> tag \"Name\" attribute value \"Line.Weight\" contains unknown parameter name"},
        {R"(<Parameter Name="A" Dim="2" Morph="MLine"><InitMorphs><InitMorph Name="MLine"><Property Name="Position">1..2</Property></InitMorph></InitMorphs></Parameter>)",
         "'1..2' is not a valid floating point value"},
    };
    for (const auto& c : cases) {
        const std::string error =
            ErrorOf([&] { TLoaded bad(OneSystem(Line, LineMorph, c.Parameters)); });
        EXPECT_NE(error.find(c.Error), std::string::npos) << error;
    }
}

TEST(FxParticle, InitialPropertiesAtBirth) {
    // A shared position morph moved at every birth by a random range of the injected source,
    // a "T" start time, and a private copy of an effect morph read by the tree morph.
    const std::string functions =
        std::string(Line) +
        R"(<Function Name="Speed" Dim="2" Type="constant"><Value>(0,0)</Value></Function>)";
    const std::string morphs =
        std::string(LineMorph) +
        R"(<Morph Name="MSpeed" Dim="2"><Functions><Function Name="Speed"/></Functions></Morph>)";
    const std::string parameters =
        R"(<Parameter Name="Position" Dim="2" Morph="MLine" ClonedMorph="true"><InitMorphs>)"
        R"(<InitMorph Name="MLine"><Property Name="Scale">MSpeed</Property><Property Name="Position">(0,10)..(0,20)</Property></InitMorph>)"
        R"(<InitMorph Name="MSpeed"><Property Name="Speed.Value">(2,3)</Property></InitMorph>)"
        R"(</InitMorphs></Parameter>)"
        R"(<Parameter Name="Alpha" Dim="1" Morph="MSpeed"><InitMorphs><InitMorph Name="MSpeed"><Property Name="StartTime">T</Property></InitMorph></InitMorphs></Parameter>)";
    TLoaded loaded(OneSystem(functions, morphs, parameters, 2), 1000);
    const TKelParticleParamType& position = loaded.Effect.Templates->GetTemplate(0)->ParamTypes[0];
    ASSERT_EQ(position.Inits.size(), 2u);
    EXPECT_EQ(position.Inits[0].InTree, 0);               // the effect morph's init comes first
    EXPECT_EQ(position.Inits[1].Properties[0].Place, 2);  // reads that init's private copy
    TKelParticle* p = loaded.Particle();
    // Line at 0 ms: (-1, 0) scaled by (2, 3), plus the drawn position (0, 15).
    ExpectVector(p->GetPosition(), -2, 15);
    p->Update(1500);
    ExpectVector(p->GetPosition(), 998, 15);
    EXPECT_EQ(loaded.Effect.GetMorph(1)->StartTime, 1000u);
}

TEST(FxParticle, InitsReadingEachOtherDoNotHang) {
    const std::string functions =
        R"(<Function Name="A" Dim="2" Type="constant"><Value>(1,1)</Value></Function>)"
        R"(<Function Name="B" Dim="2" Type="constant"><Value>(2,2)</Value></Function>)";
    const std::string morphs =
        R"(<Morph Name="MA" Dim="2"><Functions><Function Name="A"/></Functions></Morph>)"
        R"(<Morph Name="MB" Dim="2"><Functions><Function Name="B"/></Functions></Morph>)"
        R"(<Morph Name="MC" Dim="2"><Functions><Function Name="A"/></Functions></Morph>)";
    const std::string parameters =
        R"(<Parameter Name="Size" Dim="2" Morph="MC"><InitMorphs>)"
        R"(<InitMorph Name="MA"><Property Name="Position">MB</Property></InitMorph>)"
        R"(<InitMorph Name="MB"><Property Name="Position">MA</Property></InitMorph>)"
        R"(<InitMorph Name="MC"><Property Name="Position">MB</Property></InitMorph>)"
        R"(</InitMorphs></Parameter>)";
    TLoaded loaded(OneSystem(functions, morphs, parameters));
    const TKelParticleParamType& size = loaded.Effect.Templates->GetTemplate(0)->ParamTypes[5];
    ASSERT_EQ(size.Inits.size(), 3u);
    EXPECT_EQ(size.Inits[0].MorphIndex, 0);  // file order within the cycle
    EXPECT_EQ(size.Inits[1].MorphIndex, 1);
    EXPECT_EQ(size.Inits[2].InTree, 1);
    // MA's copy is moved by the effect's MB (2,2) to (3,3); MB's copy by MA's copy to (5,5);
    // the tree morph MC reads MB's copy: (1,1) + (5,5).
    ExpectVector(loaded.Particle()->Params[5].Value, 6, 6);
}

TEST(FxParticle, DependenciesOrderInitsWhateverTheFileOrder) {
    const std::string functions =
        R"(<Function Name="A" Dim="2" Type="constant"><Value>(1,1)</Value></Function>)";
    const std::string morphs =
        R"(<Morph Name="MA" Dim="2"><Functions><Function Name="A"/></Functions></Morph>)"
        R"(<Morph Name="MB" Dim="2"><Functions><Function Name="A"/></Functions></Morph>)";
    const std::string parameters =
        R"(<Parameter Name="X" Dim="2"><InitMorphs>)"
        R"(<InitMorph Name="MB"><Property Name="Position">MA</Property></InitMorph>)"
        R"(<InitMorph Name="MA"><Property Name="Position">(5,5)</Property></InitMorph>)"
        R"(</InitMorphs></Parameter>)";
    TLoaded loaded(OneSystem(functions, morphs, parameters));
    const TKelParticleParamType& x = loaded.Effect.Templates->GetTemplate(0)->ParamTypes[6];
    EXPECT_EQ(x.Inits[0].MorphIndex, 0);
    EXPECT_EQ(x.Inits[1].MorphIndex, 1);
    EXPECT_EQ(x.Inits[1].Properties[0].Place, 2);
    ExpectVector(x.Inits[1].PrivateMorph->Position, 6, 6);
}

}  // namespace
