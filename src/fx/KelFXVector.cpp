// Vector and matrix operations and StrToVect; see KelFXVector.h.
#include "fx/KelFXVector.h"

#include <cctype>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "core/KelParserText.h"
#include "fx/KelFXNumbers.h"

float VectSqrLength(const TKelVector& v, int n) {
    float sum = 0;
    for (int i = 0; i < n; ++i) sum += v[i] * v[i];
    return sum;
}

float VectLength(const TKelVector& v, int n) {
    return std::sqrt(VectSqrLength(v, n));
}

TKelVector VectNormalize(const TKelVector& v, int n) {
    const float length = VectLength(v, n);
    if (!(length >= 0.000001f)) return {};
    return VectScale(v, 1.0f / length, n);
}

TKelVector VectAdd(const TKelVector& a, const TKelVector& b, int n) {
    TKelVector r;
    for (int i = 0; i < n; ++i) r[i] = a[i] + b[i];
    return r;
}

TKelVector VectSub(const TKelVector& a, const TKelVector& b, int n) {
    TKelVector r;
    for (int i = 0; i < n; ++i) r[i] = a[i] - b[i];
    return r;
}

TKelVector VectScale(const TKelVector& v, float k, int n) {
    TKelVector r;
    for (int i = 0; i < n; ++i) r[i] = v[i] * k;
    return r;
}

float VectDot(const TKelVector& a, const TKelVector& b, int n) {
    float sum = 0;
    for (int i = 0; i < n; ++i) sum += a[i] * b[i];
    return sum;
}

TKelVector VectCross(const TKelVector& a, const TKelVector& b) {
    return {{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]}};
}

TKelVector VectLerp(const TKelVector& a, const TKelVector& b, float s, int n) {
    TKelVector r;
    for (int i = 0; i < n; ++i) r[i] = a[i] + (b[i] - a[i]) * s;
    return r;
}

TKelVector VectTurn(const TKelVector& v, float a, int n, const TKelVector& u) {
    const float c = std::cos(a), s = std::sin(a);
    if (n == 1) return {{v[0] * c, 0, 0}};
    if (n == 2) return {{v[0] * c + v[1] * s, -v[0] * s + v[1] * c, 0}};
    // Rodrigues' rotation: v c + (u x v) s + u (u . v)(1 - c).
    const TKelVector cross = VectCross(u, v);
    const float dot = VectDot(u, v, 3);
    TKelVector r;
    for (int i = 0; i < 3; ++i) r[i] = v[i] * c + cross[i] * s + u[i] * dot * (1 - c);
    return r;
}

TKelMatrix MatrixMultiply(const TKelMatrix& a, const TKelMatrix& b) {
    TKelMatrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.M[i][k] * b.M[k][j];
            r.M[i][j] = sum;
        }
    return r;
}

TKelVector MatrixTransform(const TKelMatrix& m, const TKelVector& v) {
    TKelVector r;
    for (int j = 0; j < 3; ++j)
        r[j] = v[0] * m.M[0][j] + v[1] * m.M[1][j] + v[2] * m.M[2][j] + m.M[3][j];
    return r;
}

TKelMatrix AxisMatrix(char axis, float angle, const TKelVector& translation) {
    TKelMatrix m;
    const float c = std::cos(angle), s = std::sin(angle);
    switch (std::toupper(static_cast<unsigned char>(axis))) {
        case 'X':
            m.M[1][1] = c, m.M[1][2] = s, m.M[2][1] = -s, m.M[2][2] = c;
            break;
        case 'Y':
            m.M[0][0] = c, m.M[0][2] = -s, m.M[2][0] = s, m.M[2][2] = c;
            break;
        case 'Z':
            m.M[0][0] = c, m.M[0][1] = s, m.M[1][0] = -s, m.M[1][1] = c;
            break;
        default:
            break;
    }
    for (int j = 0; j < 3; ++j) m.M[3][j] = translation[j];
    return m;
}

TKelVector StrToVect(const std::string& text) {
    // Trimmed; the part between the first "(" and the last ")" when it has them.
    std::string inner = Trim(text);
    const size_t open = inner.find('('), close = inner.rfind(')');
    if (open != std::string::npos) {
        const size_t end = close != std::string::npos && close > open ? close : inner.size();
        inner = inner.substr(open + 1, end - open - 1);
    }
    std::vector<std::string> pieces;
    if (!inner.empty()) {
        size_t start = 0;
        for (;;) {
            const size_t comma = inner.find(',', start);
            pieces.push_back(inner.substr(start, comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    if (pieces.empty() || pieces.size() > 3)
        throw std::runtime_error("[StrToVect]: \"" + text +
                                 "\" string-to-vector convertation failed");
    TKelVector v;
    for (size_t i = 0; i < pieces.size(); ++i) v[int(i)] = float(StrToFloatStrict(pieces[i]));
    return v;
}
