#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "collection/NaturalOrder.h"

TEST(NaturalOrder, OrdersPairs) {
  struct Row {
    const char* a;
    const char* b;
    bool less;
  };
  const Row rows[] = {
      {"view2.jpg", "view10.jpg", true},
      {"view10.jpg", "view2.jpg", false},
      {"Photo3.jpg", "photo4.jpg", true},  // case is ignored before digits
      {"b.jpg", "A.jpg", false},
      {"a.jpg", "a.jpg", false},
      {"a.jpg", "ab.jpg", true},         // '.' sorts before letters
      {"x", "x1", true},                 // a prefix comes first
      {"img007.jpg", "img8.jpg", true},  // leading zeros do not count
      {"img8.jpg", "img007.jpg", false},
      {"a99999999999999999999b", "a100000000000000000000a", true},  // longer than any integer
      {"A.jpg", "a.jpg", true},                                     // same letters: bytes decide, so the order is total
      {"a.jpg", "A.jpg", false},
      {"1.jpg", "01.jpg", false},
      {"01.jpg", "1.jpg", true},
  };
  for (const Row& row : rows) EXPECT_EQ(NaturalLess(row.a, row.b), row.less) << row.a << " < " << row.b;
}

TEST(NaturalOrder, SortsASpinOfViews) {
  std::vector<std::string> names = {"view10.jpg", "View1.jpg", "view2.jpg", "view20.jpg", "view3.jpg"};
  std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return NaturalLess(a, b); });
  EXPECT_EQ(names, (std::vector<std::string>{"View1.jpg", "view2.jpg", "view3.jpg", "view10.jpg", "view20.jpg"}));
}
