// Shared small functions. Relies on KelParserText, Random, KelException and statvfs for the free
// disk space.
#include "core/SFunctions.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <limits>

#include "core/KelException.h"

bool PointInRect(const TRect& rect, const TPoint& point) {
    return rect.Left <= point.X && point.X <= rect.Right && rect.Top <= point.Y &&
           point.Y <= rect.Bottom;
}

static bool IsWordGap(char c) {
    return c == ' ' || c == '\t';
}

std::string GetWord(const std::string& text, int n) {
    size_t p = 0;
    std::string word = NoWord;
    for (int pass = 1; pass <= n; ++pass) {
        while (p < text.size() && IsWordGap(text[p])) ++p;
        if (p >= text.size()) return NoWord;
        const size_t start = p;
        while (p < text.size() && !IsWordGap(text[p])) ++p;
        word = text.substr(start, p - start);
    }
    return word;
}

int WordCount(const std::string& text) {
    int count = 0;
    while (GetWord(text, count + 1) != NoWord) ++count;
    return count;
}

std::string CopyBetween(const std::string& text, const std::string& first,
                        const std::string& second) {
    const size_t start = text.find(first);
    const size_t end = text.find(second);
    if (first.empty() || second.empty() || start == std::string::npos || end == std::string::npos ||
        end < start + first.size())
        return {};
    return text.substr(start + first.size(), end - start - first.size());
}

std::string AttrValueOf(const std::string& text, const std::string& name) {
    const std::string mark = name + "=\"";
    const size_t start = text.find(mark);
    if (start == std::string::npos) return {};
    const size_t valueStart = start + mark.size();
    const size_t end = text.find('"', valueStart);
    if (end == std::string::npos) return {};
    return text.substr(valueStart, end - valueStart);
}

double ValFloat(const std::string& text) {
    return TextToFloat(text);
}

std::string BoolToText(bool value) {
    return value ? "true" : "false";
}

void AddInt(TIntegers& list, int32_t value) {
    list.push_back(value);
}

void DeleteInt(TIntegers& list, int index) {
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return;
    list.erase(list.begin() + index);
}

int IndexOfInt(const TIntegers& list, int32_t value) {
    const auto found = std::find(list.begin(), list.end(), value);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

bool IntInList(const TIntegers& list, int32_t value) {
    return IndexOfInt(list, value) >= 0;
}

int32_t MinInt(const TIntegers& list) {
    int32_t smallest = std::numeric_limits<int32_t>::max();
    for (int32_t item : list) smallest = std::min(smallest, item);
    return smallest;
}

bool AllEqual(const TIntegers& list, int32_t value) {
    return std::all_of(list.begin(), list.end(), [value](int32_t item) { return item == value; });
}

int WeightedRandomIndex(const TIntegers& weights, IRandom& random) {
    if (weights.empty()) throw KelException("Generating integer from nul array!");
    int64_t sum = 0;
    for (int32_t weight : weights) sum += std::max(weight, 0);
    if (sum <= 0) return -1;
    // r is uniform from 1 to sum; sums beyond the 32-bit range are scaled from a real number.
    const int64_t r =
        sum <= std::numeric_limits<int32_t>::max()
            ? int64_t{random.Random(static_cast<int32_t>(sum))} + 1
            : std::min(sum,
                       static_cast<int64_t>(random.RandomFloat() * static_cast<double>(sum)) + 1);
    int64_t running = 0;
    for (size_t i = 0; i < weights.size(); ++i) {
        running += std::max(weights[i], 0);
        if (weights[i] > 0 && running >= r) return static_cast<int>(i);
    }
    return -1;  // not reached: r never exceeds the sum
}

void AddPoint(TPoints& list, const TPoint& point) {
    list.push_back(point);
}

void DeletePoint(TPoints& list, int index) {
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return;
    list.erase(list.begin() + index);
}

int IndexOfPoint(const TPoints& list, const TPoint& point) {
    const auto found = std::find(list.begin(), list.end(), point);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

bool PointInList(const TPoints& list, const TPoint& point) {
    return IndexOfPoint(list, point) >= 0;
}

void AddRect(TRects& list, const TRect& rect) {
    list.push_back(rect);
}

int64_t FreeDiskSpace(const std::string& path) {
    struct statvfs info {};
    if (statvfs(path.c_str(), &info) != 0)
        throw KelException("Exception error in TKelGameEngine.LoadCatSurfaces!");
    return static_cast<int64_t>(info.f_bfree) * static_cast<int64_t>(info.f_frsize);
}
