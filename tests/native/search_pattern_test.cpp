#include "tools/search_pattern.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

#include "fake_platform.h"

namespace velkor {
namespace {

TEST(SearchPattern, HexToBytes) {
  struct Case {
    const char* text;
    std::optional<std::string> bytes;
  } cases[] = {
      {"4d5a", std::string("MZ")},
      {"4D5A", std::string("MZ")},
      {"4D5", std::string("M")},  // a last digit without partner is ignored
      {"4", std::string()},
      {"", std::string()},
      {"ff00Fe", std::string("\xFF\x00\xFE", 3)},
      {"4G", std::nullopt},
      {"4D 5A", std::nullopt},
      {"0x4D", std::nullopt},
      {"4D-5A", std::nullopt},
      {"4D5\xEF\xBC\xA1", std::nullopt},  // a full-width A
  };
  for (const Case& c : cases) EXPECT_EQ(HexToBytes(c.text), c.bytes) << c.text;
}

TEST(SearchPattern, ConvertBase) {
  struct Case {
    const char* digits;
    int from, to;
    const char* out;
  } cases[] = {
      {"FF", 16, 10, "255"}, {"ff", 16, 10, "255"}, {"00", 16, 10, "0"},
      {"0A", 16, 10, "10"},  {"255", 10, 16, "FF"}, {"Z", 36, 10, "35"},
      {"101", 2, 10, "5"},   {"10", 10, 2, "1010"}, {"abc", 16, 16, "abc"},  // same base: the text itself
      {"G0", 16, 10, "256"},  // symbols beyond the base keep their table value
      {"1!", 16, 10, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ConvertBase(c.digits, c.from, c.to), c.out) << c.digits;

  // Long digit texts are converted exactly, without overflow, in bounded time.
  const std::string zeroThenOnes = std::string("0").append(256, '1');
  EXPECT_EQ(ConvertBase(zeroThenOnes, 16, 16), zeroThenOnes);
  std::string ones = "1";
  for (int i = 0; i < 255; ++i) ones += "0001";
  EXPECT_EQ(ConvertBase(zeroThenOnes, 16, 2), ones);
  EXPECT_EQ(ConvertBase("FFFFFFFFFFFFFFFFFFFF", 16, 10), "1208925819614629174706175");
  EXPECT_EQ(ConvertBase("00000000000000000000000007", 8, 10), "7");
  const std::string zs = ConvertBase(std::string(200, 'Z'), 36, 10);
  EXPECT_EQ(zs.size(), 312u);                  // 36^200 - 1 has 312 decimal digits
  EXPECT_EQ(zs.substr(zs.size() - 3), "375");  // 36^200 ends in ...376
  EXPECT_EQ(ConvertBase(zs, 10, 36), std::string(200, 'Z'));
  // Beyond what any caller needs, a text is refused rather than ground through.
  EXPECT_EQ(ConvertBase(std::string(100000, '7'), 10, 16), "");
}

TEST(SearchPattern, MakePatternReadsOnlyTheSelectedBoxAndRefusesBadInput) {
  test::FakePlatform ops;
  struct Case {
    bool textMode;
    std::string text, hex;
    bool ok;
    std::string result;  // the pattern, or the message
  } cases[] = {
      {true, "Needle", "zz", true, "Needle"},
      {true, "", "4D5A", true, ""},
      {true, std::string("a") + test::kUnrepresentable, "", false, kTextRefused},
      {false, std::string("a") + test::kUnrepresentable, "4d5a", true, "MZ"},
      {false, "abc", "4D:5A", false, kHexRefused},
      {false, "abc", "", true, ""},
  };
  for (const Case& c : cases) {
    std::string pattern = "untouched", message;
    ASSERT_EQ(MakePattern(ops, c.textMode, c.text, c.hex, pattern, message), c.ok) << c.text << "|" << c.hex;
    EXPECT_EQ(c.ok ? pattern : message, c.result) << c.text << "|" << c.hex;
  }
}

// The ANSI code page of a Chinese system for the few texts these tests use.
class GbkPlatform : public test::FakePlatform {
 public:
  bool ToAnsi(const std::string& utf8, std::string& ansi) override {
    if (utf8 == "工作") {
      ansi = "\xB9\xA4\xD7\xF7";
      return true;
    }
    for (unsigned char c : utf8)
      if (c >= 0x80) return false;
    return FakePlatform::ToAnsi(utf8, ansi);
  }
};

TEST(SearchPattern, MultiEncodingFormsOfAText) {
  GbkPlatform ops;
  const std::string smile = "\xF0\x9F\x98\x80";  // U+1F600, beyond the Basic Multilingual Plane
  struct Case {
    const char* what;
    bool textMode, multi;
    std::string text;
    bool ok;
    std::vector<std::string> forms;
    std::string bigEndian;
    bool ansiLeftOut;
  } cases[] = {
      {"unticked: ANSI only", true, false, "工作", true, {"\xB9\xA4\xD7\xF7"}, "", false},
      {"unticked: refused", true, false, "a" + smile, false, {}, "", false},
      {"Chinese",
       true,
       true,
       "工作",
       true,
       {"\xB9\xA4\xD7\xF7", "工作", std::string("\xE5\x5D\x5C\x4F", 4)},
       std::string("\x5D\xE5\x4F\x5C", 4),
       false},
      {"ASCII: ANSI and UTF-8 are one form",
       true,
       true,
       "ab",
       true,
       {"ab", std::string("a\0b\0", 4)},
       std::string("\0a\0b", 4),
       false},
      {"one character", true, true, "a", true, {"a", std::string("a\0", 2)}, std::string("\0a", 2), false},
      {"beyond the BMP: surrogate pairs, no ANSI form",
       true,
       true,
       smile,
       true,
       {smile, std::string("\x3D\xD8\x00\xDE", 4)},
       std::string("\xD8\x3D\xDE\x00", 4),
       true},
      {"empty: nothing searched", true, true, "", true, {}, "", false},
      {"hex mode unchanged", false, true, "工作", true, {"MZ"}, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SearchPattern pattern;
    std::string message;
    ASSERT_EQ(MakeSearchPattern(ops, c.textMode, c.multi, c.text, "4D5A", pattern, message), c.ok);
    if (!c.ok) {
      EXPECT_EQ(message, kTextRefused);
      continue;
    }
    EXPECT_EQ(pattern.forms, c.forms);
    EXPECT_EQ(pattern.bigEndian, c.bigEndian);
    EXPECT_EQ(pattern.ansiLeftOut, c.ansiLeftOut);
  }
}

TEST(SearchPattern, FinderCases) {
  struct Case {
    std::string data, pattern;
    bool found;
  } cases[] = {
      {"abc", "", false},           {"", "a", false},
      {"ab", "abc", false},         {"abc", "abc", true},
      {"xxabc", "abc", true},       {"abcxx", "abc", true},
      {"xxABCxx", "abc", false},    {"aaab", "aab", true},
      {"a z qz", "qz", true},       {std::string("\0MZ\0", 4), std::string("MZ\0", 3), true},
      {"e e e e eez", "eez", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PatternFinder(c.pattern).FoundIn(c.data.data(), c.data.size()), c.found) << c.data << "|" << c.pattern;
}

TEST(SearchPattern, FinderTakesSeveralPatternsInOnePass) {
  struct Case {
    std::string data;
    std::vector<std::string> patterns;
    bool found;
  } cases[] = {
      {"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxbc", {"abc", "bc"}, true},
      {"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxbc", {"abc", "xbd"}, false},
      {std::string(100, 'e') + "\xB9\xA4", {"\xE5\xB7\xA5", std::string("\xE5\x5D", 2), "\xB9\xA4"}, true},
      {std::string(3, 'a'), {"", "b", ""}, false},
      {"", {}, false},
      {std::string("w\0o\0r\0d\0", 8) + std::string(40, ' '), {"word", std::string("w\0o\0r\0d\0", 8)}, true},
  };
  for (const Case& c : cases) {
    const PatternFinder finder(c.patterns);
    EXPECT_EQ(finder.FoundIn(c.data.data(), c.data.size()), c.found) << c.data;
  }
  EXPECT_TRUE(PatternFinder(std::vector<std::string>{"", ""}).Empty());
  EXPECT_EQ(PatternFinder(std::vector<std::string>{"ab", "abcd", ""}).Longest(), 4u);
}

TEST(SearchPattern, FinderStaysRightWhereCandidatesAreEverywhere) {
  // Patterns of two alternating bytes over data made of them: nearly every place is a
  // candidate that fails late, which hands the piece to the linear method.
  std::string pattern;
  for (int i = 0; i < 1023; ++i) pattern += "ab";
  const std::string miss = pattern + "ba", hit = pattern + "ab";
  std::string data;
  for (int i = 0; i < 200000; ++i) data += "ab";
  EXPECT_FALSE(PatternFinder(miss).FoundIn(data.data(), data.size()));
  EXPECT_TRUE(PatternFinder(hit).FoundIn(data.data(), data.size()));
  data.replace(data.size() - miss.size(), miss.size(), miss);
  EXPECT_TRUE(PatternFinder(std::vector<std::string>{"zz", miss}).FoundIn(data.data(), data.size()));
  std::string zeros(1 << 20, '\0');
  const std::string nearly = std::string(2047, '\0') + '\x01';
  EXPECT_FALSE(PatternFinder(nearly).FoundIn(zeros.data(), zeros.size()));
  zeros.replace(zeros.size() - nearly.size(), nearly.size(), nearly);
  EXPECT_TRUE(PatternFinder(nearly).FoundIn(zeros.data(), zeros.size()));
}

TEST(SearchPattern, FinderAgreesWithPlainSearch) {
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    const int alphabet = 2 + round % 5;
    auto text = [&](size_t n) {
      std::string s(n, '\0');
      for (char& c : s) c = static_cast<char>("ea z\0"[random() % alphabet]);
      return s;
    };
    // Long enough for the 16-place scan, its tail, and several patterns together.
    const std::string data = text(random() % (round % 2 ? 40 : 300));
    std::vector<std::string> patterns;
    bool expected = false;
    for (int k = 0, n = 1 + round % 3; k < n; ++k) {
      patterns.push_back(text(1 + random() % (round % 5 == 0 ? 40 : 6)));
      expected = expected ||
                 std::search(data.begin(), data.end(), patterns.back().begin(), patterns.back().end()) != data.end();
    }
    ASSERT_EQ(PatternFinder(patterns).FoundIn(data.data(), data.size()), expected) << round;
  }
}

}  // namespace
}  // namespace velkor
