// The periodic morph function: per component a sine term with an optional modulation and an
// optional envelope, read from an expression such as "2*sin(3*t+1.5)+10" or
// "cos(t)*sin(2*t)". Relies on strict number reading (KelFXNumbers).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>

#include "fx/KelFXFunctions.h"
#include "fx/KelFXNumbers.h"
#include "fx/KelFXText.h"

namespace {

constexpr float HalfPi = std::numbers::pi_v<float> / 2;

std::runtime_error ExpressionError(const char* what, const std::string& expression) {
    return std::runtime_error(std::string(what) + "\"" + expression + "\"");
}

// Position of the first "sin" or "cos" at or after `from`; npos when there is none.
size_t FindSine(const std::string& text, size_t from = 0) {
    const size_t s = text.find("sin", from), c = text.find("cos", from);
    return std::min(s, c);
}

std::string Without(const std::string& text, const char* characters) {
    std::string result;
    for (char ch : text)
        if (!std::strchr(characters, ch)) result += ch;
    return result;
}

std::string WithoutBlanks(const std::string& text) {
    std::string result;
    for (char ch : text)
        if (static_cast<unsigned char>(ch) > 32) result += ch;
    return result;
}

// A factor: empty means 1, a lone sign means +1 or -1, anything else a strict number.
float Gain(const std::string& text) {
    if (text.empty() || text == "+") return 1;
    if (text == "-") return -1;
    return float(StrToFloatStrict(text));
}

// The bracketed argument of the term whose name starts at `name`; `end` is left on its closing
// bracket.
std::string Argument(const std::string& text, size_t name, const std::string& expression,
                     size_t& end) {
    const size_t open = name + 3;
    if (open >= text.size() || text[open] != '(')
        throw ExpressionError("Open bracket not found in expression ", expression);
    int depth = 0;
    for (size_t i = open; i < text.size(); ++i) {
        if (text[i] == '(') ++depth;
        if (text[i] == ')' && --depth == 0) {
            end = i;
            return text.substr(open + 1, i - open - 1);
        }
    }
    throw ExpressionError("Mismatching brackets in expression ", expression);
}

// The frequency a and phase b of an argument such as "3*t+1.5", "t", "2t-1" or "3+4".
void LinearForm(const std::string& text, const std::string& expression, float& a, float& b) {
    a = b = 0;
    const size_t sign = text.find_last_of("+-");
    if (sign != std::string::npos) {
        const std::string first = text.substr(0, sign), second = text.substr(sign);
        const bool firstT = first.find('t') != std::string::npos;
        const bool secondT = second.find('t') != std::string::npos;
        if (firstT && secondT) throw ExpressionError("Invalid sine argument ", expression);
        const std::string& frequency = firstT ? first : second;
        const std::string& phase = firstT ? second : first;
        a = Gain(Without(frequency, "*t"));
        if (!phase.empty()) b = float(StrToFloatStrict(phase));
        return;
    }
    const size_t star = text.find('*');
    const size_t t = text.find('t');
    if (star != std::string::npos) {
        if (t == std::string::npos)
            b = float(StrToFloatStrict(text));
        else
            a = float(StrToFloatStrict(t > star ? text.substr(0, star) : text.substr(star + 1)));
    } else if (t != std::string::npos) {
        a = 1;
    }
}

float Phase(float b, bool cosine) {
    return cosine ? b + HalfPi : b;
}

}  // namespace

TKelPeriodicFunc::TKelPeriodicFunc() {
    for (int i = 0; i < 2; ++i) Terms[i].g1 = Terms[i].a1 = 1.0f;
}

std::unique_ptr<TKelBaseObject> TKelPeriodicFunc::Create() const {
    return std::make_unique<TKelPeriodicFunc>();
}

bool TKelPeriodicFunc::Assign(const TKelBaseObject* source) {
    const auto* src = dynamic_cast<const TKelPeriodicFunc*>(source);
    if (!src || !TKelMorphFunc::Assign(source)) return false;
    for (int i = 0; i < 3; ++i) Terms[i] = src->Terms[i];
    return true;
}

int TKelPeriodicFunc::GetParamIdx(const std::string& name) const {
    static const char* const names[] = {"g1", "a1", "b1", "a2", "b2", "g3", "a3", "b3", "c"};
    for (int i = 0; i < 9; ++i)
        if (name == names[i]) return i + 1;
    return TKelMorphFunc::GetParamIdx(name);
}

void TKelPeriodicFunc::SetParam(int index, const TKelVector& values) {
    if (index < 1 || index > 9) return TKelMorphFunc::SetParam(index, values);
    for (int i = 0; i < Dim; ++i) {
        TKelPeriodicTerm& term = Terms[i];
        float* fields[] = {&term.g1, &term.a1, &term.b1, &term.a2, &term.b2,
                           &term.g3, &term.a3, &term.b3, &term.c};
        *fields[index - 1] = values[i];
    }
}

void TKelPeriodicFunc::Evaluate(uint32_t time, bool derivative, TKelVector& out) const {
    const float t = float(time) * 0.001f;
    out = {};
    for (int i = 0; i < Dim; ++i) {
        const TKelPeriodicTerm& term = Terms[i];
        const float m = term.HasModulation ? term.g3 * std::sin(term.a3 * t + term.b3) : 0;
        const float dm =
            term.HasModulation ? term.g3 * term.a3 * std::cos(term.a3 * t + term.b3) : 0;
        const float e = term.HasEnvelope ? std::sin(term.a2 * t + term.b2) : 1;
        const float de = term.HasEnvelope ? term.a2 * std::cos(term.a2 * t + term.b2) : 0;
        const float angle = term.a1 * t + term.b1 + m;
        out[i] = derivative
                     ? term.g1 * (std::cos(angle) * (term.a1 + dm) * e + std::sin(angle) * de)
                     : term.g1 * std::sin(angle) * e + term.c;
    }
}

void TKelPeriodicFunc::SetExpression(int component, const std::string& expression) {
    TKelPeriodicTerm term;
    const std::string text = FxLower(WithoutBlanks(expression));
    const size_t main = FindSine(text);
    if (main == std::string::npos) {
        term.c = float(StrToFloatStrict(text));
        Terms[component] = term;
        return;
    }
    term.g1 = Gain(Without(text.substr(0, main), "*"));
    size_t mainEnd = 0;
    const std::string argument = Argument(text, main, expression, mainEnd);
    const size_t modulation = FindSine(argument);
    if (modulation != std::string::npos) {
        size_t modulationEnd = 0;
        const std::string inner = Argument(argument, modulation, expression, modulationEnd);
        term.HasModulation = 1;
        term.g3 = Gain(Without(argument.substr(0, modulation), "*"));
        LinearForm(inner, expression, term.a3, term.b3);
        term.b3 = Phase(term.b3, argument.compare(modulation, 3, "cos") == 0);
        LinearForm(argument.substr(modulationEnd + 1), expression, term.a1, term.b1);
    } else {
        LinearForm(argument, expression, term.a1, term.b1);
    }
    term.b1 = Phase(term.b1, text.compare(main, 3, "cos") == 0);
    std::string rest = text.substr(mainEnd + 1);
    const size_t envelope = FindSine(rest);
    if (envelope != std::string::npos) {
        size_t envelopeEnd = 0;
        const std::string inner = Argument(rest, envelope, expression, envelopeEnd);
        term.HasEnvelope = 1;
        LinearForm(inner, expression, term.a2, term.b2);
        term.b2 = Phase(term.b2, rest.compare(envelope, 3, "cos") == 0);
        rest = rest.substr(envelopeEnd + 1);
    }
    if (!rest.empty()) term.c = float(StrToFloatStrict(rest));
    Terms[component] = term;
}
