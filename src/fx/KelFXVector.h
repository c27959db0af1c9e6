// Vectors and matrices of the effect system: three-float vectors (a value of dimension d uses
// the first d components), 4x4 row-order matrices multiplied from the left (v' = v x M, the
// fourth row is a translation), the small operations on them, and StrToVect, which reads a
// vector written in an effect file. Relies on KelFXNumbers for strict number reading.
#pragma once

#include <string>

struct TKelVector {
    float C[3] = {0, 0, 0};

    float& operator[](int i) { return C[i]; }
    float operator[](int i) const { return C[i]; }
    bool operator==(const TKelVector&) const = default;
};

struct TKelMatrix {
    float M[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};  // identity
};

// Operations over the first n components (1..3); the other components of results are 0.
float VectLength(const TKelVector& v, int n);
float VectSqrLength(const TKelVector& v, int n);
TKelVector VectNormalize(const TKelVector& v, int n);  // zero when the length is below 1e-6
TKelVector VectAdd(const TKelVector& a, const TKelVector& b, int n);
TKelVector VectSub(const TKelVector& a, const TKelVector& b, int n);
TKelVector VectScale(const TKelVector& v, float k, int n);
float VectDot(const TKelVector& a, const TKelVector& b, int n);
TKelVector VectCross(const TKelVector& a, const TKelVector& b);
TKelVector VectLerp(const TKelVector& a, const TKelVector& b, float s, int n);
// Turns v by the angle a: 1 component x cos a; 2: (x cos a + y sin a, -x sin a + y cos a);
// 3: the right-handed rotation by a about the unit axis u.
TKelVector VectTurn(const TKelVector& v, float a, int n, const TKelVector& u);

TKelMatrix MatrixMultiply(const TKelMatrix& a, const TKelMatrix& b);
TKelVector MatrixTransform(const TKelMatrix& m, const TKelVector& v);          // with translation
TKelMatrix AxisMatrix(char axis, float angle, const TKelVector& translation);  // 'X','Y','Z'

// Reads "(x[,y[,z]])" or "x[,y[,z]]": 1..3 strict numbers, missing components 0. Anything else
// raises "[StrToVect]: "<text>" string-to-vector convertation failed" (malformed numbers raise
// the conversion error).
TKelVector StrToVect(const std::string& text);
