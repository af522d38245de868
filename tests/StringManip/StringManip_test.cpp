#include "StringManip/StringManip.h"

#include <gtest/gtest.h>

#include <string>

namespace hostcode {
namespace {

TEST(TextAfter, FollowsTheFirstOccurrenceOnly) {
  const struct {
    std::string text, delimiter, expected;
  } rows[] = {
      {"a.b.c", ".", "b.c"},
      {"abc", ".", ""},
      {"abc.", ".", ""},
      {"", ".", ""},
      {"abc", "", ""},
      {"keyXYvalue", "XY", "value"},
      {"keyxyvalue", "XY", ""},  // no case folding
      {std::string("a\0.b", 4), ".", "b"},
      {"0,197490375017824", ".", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text + " after " + row.delimiter);
    EXPECT_EQ(TextAfter(row.text, row.delimiter), row.expected);
  }
}

TEST(RemoveChars, KeepsTheBytesOutsideTheSet) {
  const struct {
    std::string source, charSet, expected;
  } rows[] = {
      {"", " \r\n", ""},
      {"AB 12-C", "", "AB 12-C"},
      {"ABC", "abc", "ABC"},
      {"   ", " ", ""},
      {"a b\r\nc", " \r\n", "abc"},
      {"A\tB\r\n", " \r\n", "A\tB"},  // tabs stay
      {std::string("a\0b", 3), std::string("\0", 1), "ab"},
      {"\xE9t\xE9", "\xE9", "t"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.source);
    EXPECT_EQ(RemoveChars(row.source, row.charSet), row.expected);
  }
}

}  // namespace
}  // namespace hostcode
