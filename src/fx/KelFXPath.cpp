// The piecewise morph function: a path of linear and cubic Bezier pieces read from a path
// script ("Set ...; Path (x,y) .. (x,y) -- ...; Ending ...;"), with smoothed vertices, timing by
// duration or speed, four endings, and points that can be moved afterwards by parameter "[n]".
// Relies on core's NormalizeSpaces and TextToFloat (lenient: malformed numbers read as 0).
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "core/KelParser.h"
#include "fx/KelFXFunctions.h"
#include "fx/KelFXNumbers.h"
#include "fx/KelFXText.h"

namespace {

// A path holds at most this many pieces; points beyond are dropped. Keeps a hostile script from
// costing quadratic time in the point bookkeeping.
constexpr size_t MaxPieces = 4096;
constexpr int MaxLengthDepth = 16;

bool Coincide(const TKelVector& a, const TKelVector& b) {
    return VectLength(VectSub(a, b, 3), 3) < 0.000001f;
}

struct TDVec {
    double C[3];
};

double Distance(const TDVec& a, const TDVec& b, int n) {
    double sum = 0;
    for (int i = 0; i < n; ++i) sum += (a.C[i] - b.C[i]) * (a.C[i] - b.C[i]);
    return std::sqrt(sum);
}

TDVec Mid(const TDVec& a, const TDVec& b) {
    return {{(a.C[0] + b.C[0]) / 2, (a.C[1] + b.C[1]) / 2, (a.C[2] + b.C[2]) / 2}};
}

double BezierLength(const TDVec& p0, const TDVec& p1, const TDVec& p2, const TDVec& p3, int n,
                    int depth) {
    const double chord = Distance(p0, p3, n);
    const double polygon = Distance(p0, p1, n) + Distance(p1, p2, n) + Distance(p2, p3, n);
    // The absolute tolerance never settles for large coordinates; the relative floor keeps the
    // split count bounded there without changing ordinary lengths.
    const double tolerance = std::max(0.000001, polygon * 1e-12);
    if (std::fabs(polygon - chord) <= tolerance || depth >= MaxLengthDepth) return polygon;
    const TDVec a = Mid(p0, p1), b = Mid(p1, p2), c = Mid(p2, p3);
    const TDVec d = Mid(a, b), e = Mid(b, c), m = Mid(d, e);
    return BezierLength(p0, a, d, m, n, depth + 1) + BezierLength(m, e, c, p3, n, depth + 1);
}

TDVec ToD(const TKelVector& v) {
    return {{v[0], v[1], v[2]}};
}

// A number of the script; with `timing`, a leading "+" means a speed and is stored negated.
float ScriptNumber(const std::string& text, bool timing) {
    const std::string trimmed = Trim(text);
    const float value = float(TextToFloat(trimmed));
    return timing && !trimmed.empty() && trimmed[0] == '+' ? -value : value;
}

// Text between the first `open` and the following `close`; false when either is missing.
bool Between(const std::string& text, char open, char close, std::string& inner) {
    const size_t first = text.find(open);
    if (first == std::string::npos) return false;
    const size_t last = text.find(close, first + 1);
    if (last == std::string::npos) return false;
    inner = text.substr(first + 1, last - first - 1);
    return true;
}

// "a,b" sets both values from their parts; "a" alone sets both; empty parts keep the values.
void ReadPair(const std::string& text, float& first, float& second) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos) {
        if (Trim(text).empty()) return;
        first = second = ScriptNumber(text, false);
        return;
    }
    const std::string a = text.substr(0, comma), b = text.substr(comma + 1);
    if (!Trim(a).empty()) first = ScriptNumber(a, false);
    if (!Trim(b).empty()) second = ScriptNumber(b, false);
}

// Up to three comma-separated numbers; missing ones 0.
TKelVector ScriptVector(const std::string& text) {
    TKelVector v;
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t comma = text.find(',', start);
        v[i] = ScriptNumber(text.substr(start, comma - start), false);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return v;
}

TParserNodes ReadPoint(const std::string& piece, const TParserNodes& defaults) {
    TParserNodes node = defaults;
    const size_t close = piece.find(')');
    node.Point = ScriptVector(piece.substr(1, close == std::string::npos ? close : close - 1));
    const std::string rest = close == std::string::npos ? std::string() : piece.substr(close + 1);
    std::string inner;
    if (Between(rest, '[', ']', inner)) ReadPair(inner, node.FirstAngle, node.SecondAngle);
    if (Between(rest, '{', '}', inner)) ReadPair(inner, node.PosCorrFirst, node.PosCorrSecond);
    if (Between(rest, '"', '"', inner)) node.Timing = ScriptNumber(inner, true);
    if (rest.find("..") != std::string::npos)
        node.Curve = 1;
    else if (rest.find("--") != std::string::npos)
        node.Curve = 0;
    return node;
}

void EvaluatePiece(const TKelPieces& p, float s, bool derivative, int dim, TKelVector& out) {
    for (int i = 0; i < dim; ++i) {
        if (p.Kind == 0) {
            out[i] = derivative ? p.P3[i] - p.P0[i] : p.P0[i] + (p.P3[i] - p.P0[i]) * s;
            continue;
        }
        const float r = 1 - s;
        if (derivative)
            out[i] = 3 * (r * r * (p.P1[i] - p.P0[i]) + 2 * s * r * (p.P2[i] - p.P1[i]) +
                          s * s * (p.P3[i] - p.P2[i]));
        else
            out[i] = p.P0[i] * r * r * r + 3 * p.P1[i] * s * r * r + 3 * p.P2[i] * s * s * r +
                     p.P3[i] * s * s * s;
    }
}

}  // namespace

float PieceLength(const TKelPieces& piece, int dim) {
    double length = piece.Kind == 0 ? Distance(ToD(piece.P0), ToD(piece.P3), dim)
                                    : BezierLength(ToD(piece.P0), ToD(piece.P1), ToD(piece.P2),
                                                   ToD(piece.P3), dim, 0);
    return std::isfinite(length) ? float(length) : 0.0f;
}

std::unique_ptr<TKelBaseObject> TKelPiecewiseFunc::Create() const {
    return std::make_unique<TKelPiecewiseFunc>();
}

bool TKelPiecewiseFunc::Assign(const TKelBaseObject* source) {
    const auto* src = dynamic_cast<const TKelPiecewiseFunc*>(source);
    if (!src || !TKelMorphFunc::Assign(source)) return false;
    Pieces = src->Pieces;
    TotalTime = src->TotalTime;
    TotalLength = src->TotalLength;
    PointCount = src->PointCount;
    EndValue = src->EndValue;
    Ending = src->Ending;
    Defaults = src->Defaults;
    return true;
}

int TKelPiecewiseFunc::GetParamIdx(const std::string& name) const {
    if (name == "Weight") return 0;
    const size_t open = name.find('[');
    const size_t close = open == std::string::npos ? open : name.find(']', open + 1);
    if (close == std::string::npos) InvalidParamName(name);
    return StrToIntStrict(name.substr(open + 1, close - open - 1));
}

void TKelPiecewiseFunc::SetParam(int index, const TKelVector& values) {
    if (index == 0) return TKelMorphFunc::SetParam(index, values);
    const TVertex vertex = Vertex(index);
    if (vertex.Ending < 0 && vertex.Starting < 0) InvalidParamIndex(index);
    if (vertex.Starting >= 0) Pieces[vertex.Starting].P0 = values;
    if (vertex.Ending >= 0) Pieces[vertex.Ending].P3 = values;
    for (int piece : {vertex.Ending, vertex.Starting})
        if (piece >= 0) Pieces[piece].Length = PieceLength(Pieces[piece], Dim);
    SmoothVertex(index, 0, 0, 1);
    UpdateTotals();
}

void TKelPiecewiseFunc::Evaluate(uint32_t time, bool derivative, TKelVector& out) const {
    out = {};
    const uint64_t total = TotalTime;
    uint64_t t = time;
    bool afterEnd = false;
    if (t > total) {
        switch (Ending) {
            case 1:
                t = total ? t % total : 0;
                break;
            case 2:
                if (t > 2 * total)
                    afterEnd = true;
                else
                    t = 2 * total - t;
                break;
            case 3:
                if (total == 0)
                    t = 0;
                else
                    t = (t / total) % 2 ? total - t % total : t % total;
                break;
            default:
                afterEnd = true;
                break;
        }
    }
    if (afterEnd) {
        if (!derivative)
            for (int i = 0; i < Dim; ++i) out[i] = EndValue[i];
        return;
    }
    uint64_t start = 0;
    for (const TKelPieces& piece : Pieces) {
        if (start + piece.Duration >= t) {
            const float s = piece.Duration ? float(double(t - start) / piece.Duration) : 0.0f;
            EvaluatePiece(piece, s, derivative, Dim, out);
            return;
        }
        start += piece.Duration;
    }
    // No pieces: a path that was never given points stays at (0, 0, 0).
}

bool TKelPiecewiseFunc::IsClosed() const {
    return !Pieces.empty() && Coincide(Pieces.back().P3, Pieces.front().P0);
}

// Vertices in piece order: every piece's start, and its end when the next piece does not start
// there (or it is the last piece of an open path).
TKelPiecewiseFunc::TVertex TKelPiecewiseFunc::Vertex(int number) const {
    const int count = int(Pieces.size());
    const bool closed = IsClosed();
    int vertex = 0;
    for (int k = 0; k < count && vertex < number; ++k) {
        if (++vertex == number) {
            if (k > 0 && Coincide(Pieces[k - 1].P3, Pieces[k].P0)) return {k - 1, k};
            return {k == 0 && closed ? count - 1 : -1, k};
        }
        const bool endVertex = k == count - 1 ? !closed : !Coincide(Pieces[k + 1].P0, Pieces[k].P3);
        if (endVertex && ++vertex == number) return {k, -1};
    }
    return {};
}

int TKelPiecewiseFunc::VertexCount() const {
    const int count = int(Pieces.size());
    const bool closed = IsClosed();
    int vertices = 0;
    for (int k = 0; k < count; ++k) {
        ++vertices;
        if (k == count - 1 ? !closed : !Coincide(Pieces[k + 1].P0, Pieces[k].P3)) ++vertices;
    }
    return vertices;
}

void TKelPiecewiseFunc::SmoothVertex(int number, float inAngle, float outAngle, float correction) {
    const TVertex vertex = Vertex(number);
    const int n = Dim;
    const float toRadians = std::numbers::pi_v<float> / 180.0f;
    const float inA = inAngle * toRadians, outA = outAngle * toRadians;
    auto turned = [&](const TKelVector& h, float angle, const TKelVector& axis) {
        return std::fabs(angle) > 0.000001f ? VectTurn(h, angle, n, axis) : h;
    };
    if (vertex.Ending >= 0 && vertex.Starting >= 0) {
        TKelPieces& e = Pieces[vertex.Ending];
        TKelPieces& b = Pieces[vertex.Starting];
        const TKelVector c = VectSub(e.P0, e.P3, n), d = VectSub(b.P3, b.P0, n);
        const float lE = VectLength(c, n), lB = VectLength(d, n);
        const TKelVector axis = n == 3 ? VectNormalize(VectCross(c, d), 3) : TKelVector{};
        TKelVector inDir, outDir;
        if (e.Kind == 1 && b.Kind == 1) {
            const TKelVector k = VectNormalize(VectSub(b.P3, e.P0, n), n);
            if (lE >= lB) {
                const float ratio = lE > 0 ? lB / lE : 0;
                outDir = VectNormalize(VectLerp(VectNormalize(d, n), k, ratio, n), n);
                inDir = VectScale(outDir, -1, n);
            } else {
                inDir = VectNormalize(
                    VectLerp(VectNormalize(c, n), VectScale(k, -1, n), lE / lB, n), n);
                outDir = VectScale(inDir, -1, n);
            }
        } else if (e.Kind == 1) {
            inDir = VectScale(VectNormalize(d, n), -1, n);
        } else if (b.Kind == 1) {
            outDir = VectScale(VectNormalize(c, n), -1, n);
        }
        if (e.Kind == 1) {
            e.P2 = VectAdd(e.P3, turned(VectScale(inDir, correction * lE * 0.4f, n), inA, axis), n);
            e.Length = PieceLength(e, n);
        }
        if (b.Kind == 1)
            b.P1 =
                VectAdd(b.P0, turned(VectScale(outDir, correction * lB * 0.4f, n), outA, axis), n);
        b.Length = PieceLength(b, n);
        return;
    }
    // A free start or end: the handle mirrors the piece's other handle across its chord, so a
    // single piece with straight handles stays straight.
    const bool freeStart = vertex.Starting >= 0;
    const int index = freeStart ? vertex.Starting : vertex.Ending;
    if (index < 0) return;
    TKelPieces& piece = Pieces[index];
    if (piece.Kind != 1) return;
    const TKelVector chord = VectSub(piece.P3, piece.P0, n);
    const float length = VectLength(chord, n);
    const TKelVector along = VectNormalize(chord, n);
    TKelVector other = VectNormalize(
        freeStart ? VectSub(piece.P3, piece.P2, n) : VectSub(piece.P1, piece.P0, n), n);
    if (VectSqrLength(other, n) == 0) other = along;
    const TKelVector mirrored =
        VectSub(VectScale(along, 2 * VectDot(other, along, n), n), other, n);
    const TKelVector axis = n == 3 ? VectNormalize(VectCross(chord, other), 3) : TKelVector{};
    const TKelVector h = VectScale(mirrored, correction * length * 0.4f, n);
    if (freeStart)
        piece.P1 = VectAdd(piece.P0, turned(h, outA, axis), n);
    else
        piece.P2 = VectSub(piece.P3, turned(h, inA, axis), n);
    piece.Length = PieceLength(piece, n);
}

void TKelPiecewiseFunc::UpdateTotals() {
    uint64_t time = 0;
    double length = 0;
    for (const TKelPieces& piece : Pieces) time += piece.Duration, length += piece.Length;
    TotalTime = time > UINT32_MAX ? UINT32_MAX : uint32_t(time);
    TotalLength = float(length);
}

void TKelPiecewiseFunc::AddPath(const std::vector<TParserNodes>& points) {
    const int p = PointCount;
    const size_t first = Pieces.size();
    for (size_t i = 0; i + 1 < points.size() && Pieces.size() < MaxPieces; ++i) {
        TKelPieces piece;
        piece.Kind = points[i].Curve;
        piece.Duration = 1000;
        piece.P0 = points[i].Point;
        piece.P3 = points[i + 1].Point;
        const TKelVector step = VectScale(VectSub(piece.P3, piece.P0, 3), 1.0f / 3, 3);
        piece.P1 = VectAdd(piece.P0, step, 3);
        piece.P2 = VectAdd(piece.P1, step, 3);
        piece.Length = PieceLength(piece, Dim);
        bool known = Coincide(piece.P3, piece.P0);
        for (size_t k = 0; k < Pieces.size() && !known; ++k)
            known = Coincide(piece.P3, Pieces[k].P0) || Coincide(piece.P3, Pieces[k].P3);
        Pieces.push_back(piece);
        if (!known) ++PointCount;
    }
    if (Pieces.size() == first) return;
    for (int vertex = p + 2; vertex <= PointCount; ++vertex) {
        const TParserNodes& node = points[vertex - p - 1];
        SmoothVertex(vertex, node.FirstAngle, node.SecondAngle, node.PosCorrFirst);
    }
    SmoothVertex(p + 1, points[0].FirstAngle, points[0].SecondAngle, points[0].PosCorrFirst);
    for (size_t k = first; k < Pieces.size(); ++k) {
        const float timing = points[k - first].Timing;
        TKelPieces& piece = Pieces[k];
        if (timing >= 0)
            piece.Duration = SaturateRound<uint32_t>(double(timing) * 1000.0);
        else
            piece.Duration =
                -timing <= 0.000001f ? 0 : SaturateRound<uint32_t>(double(piece.Length) / -timing);
    }
    UpdateTotals();
}

void TKelPiecewiseFunc::SetScript(const std::string& script) {
    if (Trim(script).empty()) return;
    const std::string text = NormalizeSpaces(script);
    size_t start = 0;
    for (size_t semicolon; (semicolon = text.find(';', start)) != std::string::npos;
         start = semicolon + 1) {
        const std::string statement = Trim(text.substr(start, semicolon - start));
        const size_t blank = statement.find(' ');
        if (blank == std::string::npos) continue;
        const std::string keyword = FxLower(statement.substr(0, blank));
        const std::string argument = Trim(statement.substr(blank + 1));
        const std::string lower = FxLower(argument);
        if (keyword == "set") {
            if (lower == "bezier") {
                Defaults.Curve = 1;
            } else if (lower == "linear") {
                Defaults.Curve = 0;
            } else if (const size_t gap = lower.find(' '); gap != std::string::npos) {
                const std::string name = lower.substr(0, gap), value = argument.substr(gap + 1);
                if (name == "timing") Defaults.Timing = ScriptNumber(value, true);
                if (name == "firstangle") Defaults.FirstAngle = ScriptNumber(value, false);
                if (name == "secondangle") Defaults.SecondAngle = ScriptNumber(value, false);
                if (name == "poscorrectionfirst")
                    Defaults.PosCorrFirst = ScriptNumber(value, false);
                if (name == "poscorrectionsecond")
                    Defaults.PosCorrSecond = ScriptNumber(value, false);
            }
        } else if (keyword == "path") {
            std::vector<TParserNodes> points;
            for (size_t open = argument.find('('); open != std::string::npos;) {
                const size_t next = argument.find('(', open + 1);
                points.push_back(ReadPoint(argument.substr(open, next - open), Defaults));
                open = next;
            }
            if (points.size() >= 2) AddPath(points);
        } else if (keyword == "ending") {
            if (lower == "loop") {
                Ending = 1;
            } else if (lower == "reverse") {
                Ending = 3;
            } else if (const size_t gap = lower.find(' '); gap != std::string::npos) {
                const std::string word = lower.substr(0, gap);
                if (word != "stop" && word != "reversestop") continue;
                std::string inner = argument.substr(gap + 1);
                Between(inner, '(', ')', inner);
                Ending = word == "stop" ? 0 : 2;
                EndValue = ScriptVector(inner);
            }
        }
    }
}
