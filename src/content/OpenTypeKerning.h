// Pair kerning of an OpenType face read from its GPOS table, for faces that keep their kerning
// there and have no 'kern' table (FreeType's FT_Get_Kerning reads only the latter). Only the pair
// adjustment lookups (type 2, also behind extension lookups) of the 'kern' feature count. Every
// read is bounds-checked: a damaged table gives no or wrong kerning, never an error or a read
// outside its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TGposKerning {
  public:
    // The GPOS table's bytes as stored in the font file; empty for a face without one.
    explicit TGposKerning(std::vector<uint8_t> table);

    bool Empty() const { return Lookups.empty(); }

    // The change of the distance between the two glyphs (by glyph index) when the second follows
    // the first, in font units; negative moves them closer. 0 for an unknown pair.
    int Kerning(uint16_t left, uint16_t right) const;

  private:
    std::vector<uint8_t> Table;
    std::vector<std::vector<size_t>> Lookups;  // offsets of each lookup's pair subtables
};
