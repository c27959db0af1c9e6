// Morph functions: vector-valued functions of time with 1..3 components, in four kinds (a
// constant, a piecewise path of straight and Bezier segments written in a path script, a sum of
// sines written as one expression per component, and a parabola), their named parameters, the
// "Function" element reader and the function library. Time is in milliseconds; periodic and
// parabolic functions work in seconds. Relies on the object framework (TKelBaseObject,
// TKelStaticCollection) and the XML document classes of core, and on KelFXVector.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/KelBaseObject.h"
#include "fx/KelFXVector.h"

class TKelXMLTag;

class TKelMorphFunc : public TKelBaseObject {
  public:
    uint8_t Dim = 2;    // 1..3
    uint8_t Owned = 1;  // 1: a morph owns (and destroys) it; 0: a library does
    float Weight = 1.0f;

    bool Assign(const TKelBaseObject* source) override;

    // Index of a named parameter; "Weight" is 0 in every kind. An unknown name raises
    // "[TKelMorphFunc.GetParamIdx]: Invalid <class> function "<name>" parameter "<param>"".
    virtual int GetParamIdx(const std::string& name) const;
    // Sets a parameter from a vector. Unknown indices raise
    // "[TKelMorpFunc.SetParam]: Invalid <class> function "<name>" parameter index <n>".
    virtual void SetParam(int index, const TKelVector& values);
    void SetParamByName(const std::string& name, const TKelVector& values) {
        SetParam(GetParamIdx(name), values);
    }
    // The value (or with `derivative` the derivative) at `time` ms. All three components are
    // written; those beyond Dim are 0.
    virtual void Evaluate(uint32_t time, bool derivative, TKelVector& out) const = 0;
    const char* ClassName() const override { return "TKelMorphFunc"; }

  protected:
    [[noreturn]] void InvalidParamName(const std::string& param) const;
    [[noreturn]] void InvalidParamIndex(int index) const;
};

class TKelConstantFunc : public TKelMorphFunc {
  public:
    TKelVector Value;

    std::unique_ptr<TKelBaseObject> Create() const override;
    bool Assign(const TKelBaseObject* source) override;
    int GetParamIdx(const std::string& name) const override;
    void SetParam(int index, const TKelVector& values) override;
    void Evaluate(uint32_t time, bool derivative, TKelVector& out) const override;
    const char* ClassName() const override { return "TKelConstantFunc"; }
};

class TKelParabolicFunc : public TKelMorphFunc {
  public:
    TKelVector StartPosition, StartVelocity, Acceleration;  // v(t) = P + V t + A t t

    std::unique_ptr<TKelBaseObject> Create() const override;
    bool Assign(const TKelBaseObject* source) override;
    int GetParamIdx(const std::string& name) const override;
    void SetParam(int index, const TKelVector& values) override;
    void Evaluate(uint32_t time, bool derivative, TKelVector& out) const override;
    const char* ClassName() const override { return "TKelParabolicFunc"; }
};

// One component of a periodic function:
// v(t) = g1 sin(a1 t + b1 + M(t)) E(t) + c, M(t) = g3 sin(a3 t + b3) when HasModulation,
// E(t) = sin(a2 t + b2) when HasEnvelope.
struct TKelPeriodicTerm {
    uint8_t HasEnvelope = 0, HasModulation = 0;
    float g1 = 0, a1 = 0, b1 = 0, a2 = 0, b2 = 0, g3 = 0, a3 = 0, b3 = 0, c = 0;
};

class TKelPeriodicFunc : public TKelMorphFunc {
  public:
    TKelPeriodicTerm Terms[3];

    TKelPeriodicFunc();  // the first two components start as sin t, the third as 0
    std::unique_ptr<TKelBaseObject> Create() const override;
    bool Assign(const TKelBaseObject* source) override;
    int GetParamIdx(const std::string& name) const override;
    void SetParam(int index, const TKelVector& values) override;
    void Evaluate(uint32_t time, bool derivative, TKelVector& out) const override;
    const char* ClassName() const override { return "TKelPeriodicFunc"; }
    // Replaces the term of one component (0..2) by the expression text. Raises
    // "Open bracket not found in expression", "Mismatching brackets in expression" or
    // "Invalid sine argument" (followed by the expression in double quotes), or the conversion
    // error for a malformed number.
    void SetExpression(int component, const std::string& text);
};

// One segment of a path: linear (P0 to P3) or cubic Bezier (P0, P1, P2, P3).
struct TKelPieces {
    uint32_t Duration = 0;  // ms
    float Length = 0;
    uint8_t Kind = 0;  // 0 linear, 1 Bezier
    TKelVector P0, P1, P2, P3;
};

// One point of a "Path" statement with the values that apply to the segment starting there.
struct TParserNodes {
    float Timing = 1.0f;                    // seconds; a negative value is a speed (units per ms)
    float FirstAngle = 0, SecondAngle = 0;  // degrees
    float PosCorrFirst = 1.0f, PosCorrSecond = 1.0f;
    TKelVector Point;
    uint8_t Curve = 1;  // 1 Bezier, 0 linear
};

class TKelPiecewiseFunc : public TKelMorphFunc {
  public:
    std::vector<TKelPieces> Pieces;
    uint32_t TotalTime = 0;  // ms, sum of the durations (saturated)
    float TotalLength = 0;
    int32_t PointCount = 0;
    TKelVector EndValue;  // the value after the end of a path that stops
    uint8_t Ending = 0;   // 0 stop, 1 loop, 2 reverse-stop, 3 reverse
    TParserNodes Defaults;

    std::unique_ptr<TKelBaseObject> Create() const override;
    bool Assign(const TKelBaseObject* source) override;
    int GetParamIdx(const std::string& name) const override;      // "[n]" is point n
    void SetParam(int index, const TKelVector& values) override;  // moves vertex n
    void Evaluate(uint32_t time, bool derivative, TKelVector& out) const override;
    const char* ClassName() const override { return "TKelPiecewiseFunc"; }

    // Runs a path script: appends its points as pieces, sets defaults and the ending.
    void SetScript(const std::string& script);
    int VertexCount() const;

  private:
    struct TVertex {
        int Ending = -1;    // piece that ends at the vertex, -1 for a free start
        int Starting = -1;  // piece that starts there, -1 for a free end
    };
    bool IsClosed() const;
    TVertex Vertex(int number) const;  // number from 1; both -1 when there is none
    void AddPath(const std::vector<TParserNodes>& points);
    void SmoothVertex(int number, float inAngle, float outAngle, float correction);
    void UpdateTotals();
};

// Length of a piece: the chord for a linear piece; for a Bezier piece the control polygon once
// it matches the chord, splitting the curve in halves (at most 16 levels deep). Non-finite
// control points give 0.
float PieceLength(const TKelPieces& piece, int dim);

class TKelMorphFuncLib : public TKelStaticCollection {
  public:
    std::unique_ptr<TKelBaseObject> Create() const override;
    const char* ClassName() const override { return "TKelMorphFuncLib"; }
    TKelMorphFunc* GetFunc(int index) const;
};

// A new function from a "Function" element; none when the element is missing or has another
// name. A Dim outside 1..3 is a reading error.
std::unique_ptr<TKelMorphFunc> CreateMorphFuncByTag(const TKelXMLTag* tag);
// Adds the function unless the library holds one of that name (then the new one is dropped);
// marks it as owned by the library; answers the index of the library's function of that name.
int AddFuncToLib(TKelMorphFuncLib* library, std::unique_ptr<TKelMorphFunc> function);
