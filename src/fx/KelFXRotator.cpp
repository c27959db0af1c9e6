// Rotator items, rotation patterns and the overall matrix; see KelFXRotator.h.
#include "fx/KelFXRotator.h"

#include <cctype>
#include <stdexcept>

#include "core/KelParser.h"
#include "fx/KelFXNumbers.h"
#include "fx/KelFXText.h"

std::unique_ptr<TKelBaseObject> TKelRotator::Create() const {
    return std::make_unique<TKelRotator>();
}

bool TKelRotator::Assign(const TKelBaseObject* source) {
    const auto* src = dynamic_cast<const TKelRotator*>(source);
    if (!src || !TKelBaseObject::Assign(source)) return false;
    Rotations = src->Rotations;
    Matrix = src->Matrix;
    return true;
}

void TKelRotator::AddItem(char axis, uint8_t param, const TKelVector& translation, float angle) {
    const char upper = char(std::toupper(static_cast<unsigned char>(axis)));
    if (upper != 'X' && upper != 'Y' && upper != 'Z')
        throw std::runtime_error(std::string("[TKelRotator.AddItem]: Invalid base axis value \"") +
                                 axis + "\"");
    TKelRotationItems item;
    item.Axis = axis;
    item.Angle = angle;
    item.Param = param;
    item.Translation = translation;
    item.Matrix = AxisMatrix(axis, angle, translation);
    Rotations.push_back(item);
    UpdateMatrix();
}

void TKelRotator::SetRotationPattern(const std::string& text) {
    Clear();
    const std::string line = NormalizeSpaces(text);
    TKelVector translation;
    size_t start = 0;
    for (;;) {
        const size_t semicolon = line.find(';', start);
        const std::string piece = Trim(line.substr(start, semicolon - start));
        if (!piece.empty()) {
            const size_t open = piece.find('(');
            if (open != std::string::npos) {
                int depth = 0;
                size_t close = piece.size();
                for (size_t i = open; i < piece.size(); ++i) {
                    if (piece[i] == '(') ++depth;
                    if (piece[i] == ')' && --depth == 0) {
                        close = i;
                        break;
                    }
                }
                translation = StrToVect(piece.substr(open, close - open + 1));
            } else {
                uint8_t param = 0;
                const size_t bracket = piece.find('[', 1);
                if (bracket != std::string::npos) {
                    const size_t end = piece.find(']', bracket + 1);
                    const int32_t value =
                        StrToIntStrict(piece.substr(bracket + 1, end - bracket - 1));
                    if (value < 1 || value > 3)
                        throw std::runtime_error(
                            "[TKelRotator.SetRotationPattern]: Invalid rotation pattern parameter "
                            "index");
                    param = uint8_t(value);
                }
                const size_t equals = piece.find('=', 1);
                const float angle = equals == std::string::npos
                                        ? 0
                                        : float(StrToFloatStrict(piece.substr(equals + 1)));
                AddItem(piece[0], param, translation, angle);
            }
        }
        if (semicolon == std::string::npos) break;
        start = semicolon + 1;
    }
}

void TKelRotator::UpdateAngles(const float* values, int count) {
    for (TKelRotationItems& item : Rotations) {
        if (item.Param < 1 || item.Param > count) continue;
        item.Angle = values[item.Param - 1];
        item.Matrix = AxisMatrix(item.Axis, item.Angle, item.Translation);
    }
    UpdateMatrix();
}

void TKelRotator::Clear() {
    Rotations.clear();
    Matrix = TKelMatrix();
}

void TKelRotator::UpdateMatrix() {
    Matrix = TKelMatrix();
    for (const TKelRotationItems& item : Rotations) Matrix = MatrixMultiply(Matrix, item.Matrix);
}
