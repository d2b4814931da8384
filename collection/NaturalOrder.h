#pragma once
// The order in which people expect numbered names: letter case ignored and
// runs of digits compared by their value, so view2.jpg comes before
// view10.jpg and Photo3.jpg before photo4.jpg.

#include <string_view>

// Names that differ only in letter case or leading zeros are ordered by their
// bytes, so the order is total and the same on every run.
bool NaturalLess(std::string_view a, std::string_view b);
