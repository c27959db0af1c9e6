// Text helpers of the effect readers; see KelFXText.h.
#include "fx/KelFXText.h"

#include <cctype>
#include <stdexcept>

#include "core/TextCase.h"
#include "fx/KelFXNumbers.h"

std::string FxLower(const std::string& text) {
    return LowerCase(text);
}

uint8_t ReadDim(const std::string& text) {
    const int32_t dim = StrToIntStrict(text);
    if (dim < 1 || dim > 3)
        throw std::runtime_error("'" + text + "' is not a valid dimension (1, 2 or 3)");
    return uint8_t(dim);
}
