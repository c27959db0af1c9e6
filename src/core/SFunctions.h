// Small shared functions of the game object, the rules and the surface store: words and
// attribute values of one-line texts, lenient numbers, operations on the lists TIntegers, TPoints
// and TRects, the weighted random choice and the free disk space. None keeps state; randomness
// comes from the caller. Relies on KelParserText (ValInt, TextToFloat), Random, KelException and
// the TPoint and TRect of Geometry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/KelParserText.h"
#include "core/Random.h"
#include "core/Geometry.h"

using TIntegers = std::vector<int32_t>;
using TPoints = std::vector<TPoint>;
using TRects = std::vector<TRect>;  // Left, Top, Right, Bottom

// The answer of GetWord when the text has fewer words.
inline const std::string NoWord = "%&";

// Whether Left <= x <= Right and Top <= y <= Bottom (all four edges inclusive).
bool PointInRect(const TRect& rect, const TPoint& point);
// The n-th (from 1) word; words are separated by runs of blanks and TABs. NoWord when there are
// fewer than n words.
std::string GetWord(const std::string& text, int n);
int WordCount(const std::string& text);
// The text between the first occurrence of first and the first occurrence of second; empty when
// either is missing or the second one starts before the end of the first one.
std::string CopyBetween(const std::string& text, const std::string& first,
                        const std::string& second);
// The text after the first name="... up to the next double quote; empty when missing.
std::string AttrValueOf(const std::string& text, const std::string& name);
// A real number (TextToFloat); 0 when the text is not a number as a whole.
double ValFloat(const std::string& text);
// "true" or "false".
std::string BoolToText(bool value);

void AddInt(TIntegers& list, int32_t value);
// Removes the item at the index; an index outside the list does nothing.
void DeleteInt(TIntegers& list, int index);
int IndexOfInt(const TIntegers& list, int32_t value);
bool IntInList(const TIntegers& list, int32_t value);
// The smallest item; 2147483647 for an empty list.
int32_t MinInt(const TIntegers& list);
// Whether every item equals the value (true for an empty list).
bool AllEqual(const TIntegers& list, int32_t value);
// A random index chosen in proportion to the weights; a negative weight counts as 0. -1 when no
// weight is positive. An empty list raises KelException "Generating integer from nul array!".
int WeightedRandomIndex(const TIntegers& weights, IRandom& random);

void AddPoint(TPoints& list, const TPoint& point);
// Removes the point at the index; an index outside the list does nothing.
void DeletePoint(TPoints& list, int index);
bool PointInList(const TPoints& list, const TPoint& point);
int IndexOfPoint(const TPoints& list, const TPoint& point);
void AddRect(TRects& list, const TRect& rect);

// Free bytes of the file system that holds the path. A failed query raises KelException
// "Exception error in TKelGameEngine.LoadCatSurfaces!".
int64_t FreeDiskSpace(const std::string& path);
