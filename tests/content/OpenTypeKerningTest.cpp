// Pair kerning read from a GPOS table: a small hand-made table with both pair formats, an
// extension lookup and a feature that is not kerning; damaged copies of it.
#include "content/OpenTypeKerning.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

// A block of the table whose offsets to its children are filled in when it is laid out: each
// child follows its parent's own bytes, and the offsets count from the parent's start.
struct Block {
    Bytes Head;
    std::vector<Block> Children;
    std::vector<std::pair<size_t, bool>> Slots;  // where each child's offset goes; 32-bit or not

    Block& U16(int value) {
        Head.push_back(uint8_t(value >> 8));
        Head.push_back(uint8_t(value));
        return *this;
    }
    Block& Tag(const char* tag) {
        Head.insert(Head.end(), tag, tag + 4);
        return *this;
    }
    Block& Offset(Block child, bool wide = false) {
        Slots.emplace_back(Head.size(), wide);
        Head.resize(Head.size() + (wide ? 4 : 2));
        Children.push_back(std::move(child));
        return *this;
    }

    Bytes Layout() const {
        Bytes out = Head;
        for (size_t i = 0; i < Children.size(); ++i) {
            const auto [at, wide] = Slots[i];
            const size_t offset = out.size();
            for (int b = 0, n = wide ? 4 : 2; b < n; ++b)
                out[at + b] = uint8_t(offset >> (8 * (n - 1 - b)));
            const Bytes child = Children[i].Layout();
            out.insert(out.end(), child.begin(), child.end());
        }
        return out;
    }
};

enum Glyph { A = 1, V = 2, T = 3, O = 4, H = 5 };

Block Lookup(int type, std::vector<Block> subtables) {
    Block lookup;
    lookup.U16(type).U16(0).U16(int(subtables.size()));
    for (Block& subtable : subtables) lookup.Offset(std::move(subtable));
    return lookup;
}

// Format 1 with first-glyph advances only: {first, {second, advance}...} in glyph order.
Block GlyphPairs(std::vector<std::pair<int, std::vector<std::pair<int, int>>>> sets) {
    Block coverage;
    coverage.U16(1).U16(int(sets.size()));
    for (const auto& set : sets) coverage.U16(set.first);
    Block pairs;
    pairs.U16(1).Offset(coverage).U16(0x4).U16(0).U16(int(sets.size()));
    for (const auto& set : sets) {
        Block pairSet;
        pairSet.U16(int(set.second.size()));
        for (const auto& [second, advance] : set.second) pairSet.U16(second).U16(advance);
        pairs.Offset(pairSet);
    }
    return pairs;
}

// Format 2: A is class 1 and T class 2 on the left, V class 1 and O class 2 on the right. The
// first glyph's records hold a shift (never kerning) and an advance, the second's a shift.
Block ClassPairs() {
    Block coverage;
    coverage.U16(2).U16(1).U16(A).U16(T).U16(0);
    Block left;
    left.U16(1).U16(A).U16(3).U16(1).U16(0).U16(2);
    Block right;
    right.U16(2).U16(2).U16(V).U16(V).U16(1).U16(O).U16(O).U16(2);
    Block pairs;
    pairs.U16(2).Offset(coverage).U16(0x5).U16(0x1).Offset(left).Offset(right).U16(3).U16(3);
    const int advance[3][3] = {{0, 0, 0}, {0, -20, -7}, {0, 0, -10}};
    const int secondShift[3][3] = {{0, 0, 0}, {0, -5, 0}, {0, 0, 0}};
    for (int c1 = 0; c1 < 3; ++c1)
        for (int c2 = 0; c2 < 3; ++c2) pairs.U16(99).U16(advance[c1][c2]).U16(secondShift[c1][c2]);
    return pairs;
}

Bytes TestTable() {
    Block extension;
    extension.U16(1).U16(2).Offset(ClassPairs(), true);
    Block lookups;
    lookups
        .U16(3)
        // Lookup 0: the first subtable that holds the pair applies; A-O is only in the second.
        .Offset(Lookup(2, {GlyphPairs({{A, {{V, -80}}}, {T, {{O, -60}}}}),
                           GlyphPairs({{A, {{V, 500}, {O, -3}}}})}))
        .Offset(Lookup(9, {extension}))
        // Lookup 2 belongs to another feature.
        .Offset(Lookup(2, {GlyphPairs({{A, {{V, 1000}}}})}));
    Block kern;
    kern.U16(0).U16(2).U16(1).U16(0);
    Block otherScriptKern;
    otherScriptKern.U16(0).U16(1).U16(0);
    Block distances;
    distances.U16(0).U16(1).U16(2);
    Block features;
    features.U16(3).Tag("kern").Offset(kern).Tag("dist").Offset(distances).Tag("kern").Offset(
        otherScriptKern);
    Block table;
    table.U16(1).U16(0).U16(0).Offset(features).Offset(lookups);
    return table.Layout();
}

}  // namespace

TEST(OpenTypeKerningTest, SumsTheKernFeaturesLookups) {
    const TGposKerning kerning(TestTable());
    ASSERT_FALSE(kerning.Empty());
    const struct {
        Glyph left, right;
        int value;
    } cases[] = {
        {A, V, -80 - 25},  // glyph pair plus class pair (first advance and second shift)
        {T, O, -60 - 10}, {A, O, -3 - 7},  // the first subtable lacks the pair, the second has it
        {V, A, 0},  // covered by the class pairs, but class 0 on the right: no change
        {H, O, 0},  // not covered
        {O, A, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kerning.Kerning(c.left, c.right), c.value) << c.left << " " << c.right;
}

TEST(OpenTypeKerningTest, DamagedOrMissingTablesGiveNoKerning) {
    EXPECT_TRUE(TGposKerning({}).Empty());
    Bytes table = TestTable();
    table[1] = 2;  // an unknown major version
    EXPECT_TRUE(TGposKerning(table).Empty());

    // Every shortened copy reads only its own bytes (checked by the sanitizers) and never makes
    // up kerning for a pair the whole table does not kern.
    const Bytes whole = TestTable();
    const TGposKerning kerning(whole);
    for (size_t size = 0; size < whole.size(); ++size) {
        const TGposKerning cut(Bytes(whole.begin(), whole.begin() + ptrdiff_t(size)));
        for (int left = 0; left <= H; ++left)
            for (int right = 0; right <= H; ++right) {
                if (kerning.Kerning(left, right) == 0) {
                    EXPECT_EQ(cut.Kerning(left, right), 0) << size << " " << left << " " << right;
                }
            }
    }
    // A byte turned to FF anywhere (a count or offset far too large) still reads inside.
    for (size_t at = 0; at < whole.size(); ++at) {
        Bytes damaged = whole;
        damaged[at] = 0xFF;
        const TGposKerning broken(damaged);
        for (int left = 0; left <= H; ++left)
            for (int right = 0; right <= H; ++right) broken.Kerning(left, right);
    }
}
