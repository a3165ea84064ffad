#include <gtest/gtest.h>

#include "app/StringFunc.h"

TEST(GroupThousands, GroupsFromTheRight) {
  const struct {
    int64_t value;
    const char* text;
  } cases[] = {{0, "0"}, {999, "999"}, {1000, "1 000"}, {1000005, "1 000 005"}, {1000000, "1 000 000"},
               {-1234, "-1 234"}, {INT64_MIN, "-9 223 372 036 854 775 808"}};
  for (const auto& c : cases) EXPECT_EQ(GroupThousands(c.value), QString::fromLatin1(c.text)) << c.value;
}

TEST(PadString, FillsOnTheChosenSideOnly) {
  EXPECT_EQ(PadString("7", '0', 3, true), "007");
  EXPECT_EQ(PadString("7", ' ', 3, false), "7  ");
  EXPECT_EQ(PadString("12345", '0', 3, true), "12345");
}
