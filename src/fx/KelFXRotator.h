// The rotator of three-dimensional morphs: a chain of axis rotations, each with a fixed angle or
// an angle taken from one component of a rotation vector, each with its own translation, read
// from a rotation pattern text such as "X[1]; Y[2]; (0,0,50); Z=0.5". Relies on the object
// framework of core and on KelFXVector.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/KelBaseObject.h"
#include "fx/KelFXVector.h"

struct TKelRotationItems {
    char Axis = 'X';    // "X", "Y" or "Z" in either case
    float Angle = 0;    // radians
    uint8_t Param = 0;  // 0: fixed angle; 1..3: the angle is that component of the rotation
    TKelVector Translation;
    TKelMatrix Matrix;  // the axis rotation with the translation as its fourth row
};

class TKelRotator : public TKelBaseObject {
  public:
    std::vector<TKelRotationItems> Rotations;
    TKelMatrix Matrix;  // the product of the items' matrices in item order

    std::unique_ptr<TKelBaseObject> Create() const override;
    const char* ClassName() const override { return "TKelRotator"; }
    bool Assign(const TKelBaseObject* source) override;

    // Raises "[TKelRotator.AddItem]: Invalid base axis value "<c>"" for an axis other than X, Y, Z.
    void AddItem(char axis, uint8_t param, const TKelVector& translation, float angle);
    void SetRotationPattern(const std::string& text);
    // Items with parameter p in 1..count take the angle values[p - 1].
    void UpdateAngles(const float* values, int count);
    void Clear();
    int Count() const { return int(Rotations.size()); }

  private:
    void UpdateMatrix();
};
