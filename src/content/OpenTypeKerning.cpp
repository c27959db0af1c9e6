// Pair kerning from the GPOS table: the 'kern' feature's lookups, pair adjustment subtables of
// format 1 (glyph pairs) and format 2 (class pairs).
#include "content/OpenTypeKerning.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace {

// Big-endian reads that give 0 past the end of the table, so a damaged offset or count reads
// zeros instead of memory beyond the table.
struct TReader {
    const std::vector<uint8_t>& Bytes;

    uint32_t U16(size_t at) const {
        return at < Bytes.size() && Bytes.size() - at >= 2
                   ? uint32_t(Bytes[at] << 8 | Bytes[at + 1])
                   : 0;
    }
    uint32_t U32(size_t at) const { return U16(at) << 16 | U16(at + 2); }
    int S16(size_t at) const { return int16_t(uint16_t(U16(at))); }
    // Whether count records of the size start at "at" inside the table.
    bool Fits(size_t at, size_t count, size_t size) const {
        return at <= Bytes.size() && count * size <= Bytes.size() - at;
    }

    // Index of the sorted record whose 16-bit key at "keyAt" within the record equals glyph, or
    // whose key range [first at keyAt, last at keyAt + 2] holds it when ranged.
    std::optional<size_t> Find(size_t at, size_t count, size_t size, size_t keyAt, bool ranged,
                               uint32_t glyph) const {
        if (!Fits(at, count, size)) return std::nullopt;
        size_t low = 0, high = count;
        while (low < high) {
            const size_t middle = (low + high) / 2;
            const size_t record = at + middle * size + keyAt;
            if (glyph < U16(record))
                high = middle;
            else if (glyph > U16(record + (ranged ? 2 : 0)))
                low = middle + 1;
            else
                return middle;
        }
        return std::nullopt;
    }

    // The glyph's index in the coverage table at "at".
    std::optional<uint32_t> Coverage(size_t at, uint32_t glyph) const {
        const uint32_t format = U16(at), count = U16(at + 2);
        if (format == 1) {
            const auto index = Find(at + 4, count, 2, 0, false, glyph);
            if (index) return uint32_t(*index);
        } else if (format == 2) {
            const auto range = Find(at + 4, count, 6, 0, true, glyph);
            if (range) {
                const size_t record = at + 4 + *range * 6;
                return U16(record + 4) + glyph - U16(record);
            }
        }
        return std::nullopt;
    }

    // The glyph's class in the class definition at "at"; 0 for a glyph it does not name.
    uint32_t Class(size_t at, uint32_t glyph) const {
        const uint32_t format = U16(at);
        if (format == 1) {
            const uint32_t first = U16(at + 2), count = U16(at + 4);
            if (glyph >= first && glyph - first < count && Fits(at + 6, count, 2))
                return U16(at + 6 + (glyph - first) * 2);
        } else if (format == 2) {
            const auto range = Find(at + 4, U16(at + 2), 6, 0, true, glyph);
            if (range) return U16(at + 4 + *range * 6 + 4);
        }
        return 0;
    }
};

// Bytes of a value record of the format: two for each field present.
size_t ValueSize(uint32_t format) {
    return size_t(std::popcount(format & 0xFF)) * 2;
}

// The horizontal distance change of a pair whose value records start at "at": the first glyph's
// advance change plus the second glyph's horizontal shift.
int PairValue(const TReader& reader, size_t at, uint32_t format1, uint32_t format2) {
    int value = 0;
    if (format1 & 0x4) value += reader.S16(at + ValueSize(format1 & 0x3));
    if (format2 & 0x1) value += reader.S16(at + ValueSize(format1));
    return value;
}

// The pair subtable's value for the pair; none when the subtable does not apply to it, so that the
// lookup's next subtable is asked.
std::optional<int> SubtableKerning(const TReader& reader, size_t at, uint32_t left,
                                   uint32_t right) {
    const uint32_t format = reader.U16(at);
    if (format != 1 && format != 2) return std::nullopt;
    const auto covered = reader.Coverage(at + reader.U16(at + 2), left);
    if (!covered) return std::nullopt;
    const uint32_t format1 = reader.U16(at + 4), format2 = reader.U16(at + 6);
    const size_t values = ValueSize(format1) + ValueSize(format2);
    if (format == 1) {
        if (*covered >= reader.U16(at + 8)) return std::nullopt;
        const size_t set = at + reader.U16(at + 10 + *covered * 2);
        const auto pair = reader.Find(set + 2, reader.U16(set), 2 + values, 0, false, right);
        if (!pair) return std::nullopt;
        return PairValue(reader, set + 2 + *pair * (2 + values) + 2, format1, format2);
    }
    const uint32_t class1 = reader.Class(at + reader.U16(at + 8), left);
    const uint32_t class2 = reader.Class(at + reader.U16(at + 10), right);
    const uint32_t class1Count = reader.U16(at + 12), class2Count = reader.U16(at + 14);
    if (class1 >= class1Count || class2 >= class2Count) return std::nullopt;
    const size_t record = at + 16 + (size_t(class1) * class2Count + class2) * values;
    if (!reader.Fits(record, 1, values)) return std::nullopt;
    return PairValue(reader, record, format1, format2);
}

constexpr uint32_t KernTag = uint32_t('k') << 24 | uint32_t('e') << 16 | uint32_t('r') << 8 | 'n';
constexpr uint32_t PairLookup = 2, ExtensionLookup = 9;

}  // namespace

TGposKerning::TGposKerning(std::vector<uint8_t> table) : Table(std::move(table)) {
    const TReader reader{Table};
    if (reader.U16(0) != 1) return;
    const size_t features = reader.U16(6), lookupList = reader.U16(8);

    // Lookups of every 'kern' feature (of any script and language), each once, in lookup order.
    std::vector<uint32_t> indices;
    const uint32_t featureCount = reader.U16(features);
    for (uint32_t i = 0; i < featureCount && reader.Fits(features + 2, i + 1, 6); ++i) {
        const size_t record = features + 2 + size_t(i) * 6;
        if (reader.U32(record) != KernTag) continue;
        const size_t feature = features + reader.U16(record + 4);
        const uint32_t count = reader.U16(feature + 2);
        for (uint32_t j = 0; j < count && reader.Fits(feature + 4, j + 1, 2); ++j)
            indices.push_back(reader.U16(feature + 4 + size_t(j) * 2));
    }
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());

    for (uint32_t index : indices) {
        if (index >= reader.U16(lookupList) || !reader.Fits(lookupList + 2, index + 1, 2)) continue;
        const size_t lookup = lookupList + reader.U16(lookupList + 2 + size_t(index) * 2);
        const uint32_t type = reader.U16(lookup), count = reader.U16(lookup + 4);
        std::vector<size_t> subtables;
        for (uint32_t j = 0; j < count && reader.Fits(lookup + 6, j + 1, 2); ++j) {
            const size_t subtable = lookup + reader.U16(lookup + 6 + size_t(j) * 2);
            if (type == PairLookup)
                subtables.push_back(subtable);
            else if (type == ExtensionLookup && reader.U16(subtable) == 1 &&
                     reader.U16(subtable + 2) == PairLookup)
                subtables.push_back(subtable + reader.U32(subtable + 4));
        }
        if (!subtables.empty()) Lookups.push_back(std::move(subtables));
    }
}

int TGposKerning::Kerning(uint16_t left, uint16_t right) const {
    const TReader reader{Table};
    int sum = 0;
    for (const std::vector<size_t>& subtables : Lookups)
        for (size_t subtable : subtables)
            if (const auto value = SubtableKerning(reader, subtable, left, right)) {
                sum += *value;
                break;
            }
    return sum;
}
