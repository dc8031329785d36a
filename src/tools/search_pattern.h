// What the content search looks for: the pattern typed as text or as hexadecimal
// digits, and the search of one piece of a file for it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform_ops.h"

namespace velkor {

// The longest digit text ConvertBase takes; its time grows with the square of the length.
inline constexpr size_t kLongestConvertible = 4096;

// Converts a number written in base `from` (symbols 0-9 then A-Z, either case) to
// base `to`, exactly. A text holding a symbol outside that table, or longer than
// kLongestConvertible, converts to "".
std::string ConvertBase(const std::string& digits, int from, int to);

// Pairs of hexadecimal digits, high digit first, no separators ("4D5A" and "4d5a" give
// 4D 5A); a last digit without partner is ignored. Nothing when a character is not a
// hexadecimal digit.
std::optional<std::string> HexToBytes(const std::string& text);

inline constexpr char kHexRefused[] = "16进制查找内容只能由0-9、A-F（或a-f）组成，每两位一个字节，不能有空格或分隔符。";
inline constexpr char kTextRefused[] = "查找内容含有系统代码页无法表示的字符，请修改后再查找。";

// The pattern bytes of the selected box: the text in the ANSI code page, or the
// hexadecimal digits as bytes. On refusal `message` says why.
bool MakePattern(PlatformOps& ops, bool textMode, const std::string& text, const std::string& hex, std::string& pattern,
                 std::string& message);

// What a search looks for: every byte form of what was typed.
struct SearchPattern {
  std::vector<std::string> forms;  // a file holding any of them is a result
  // The UTF-16BE form, looked for only in files that start with its byte-order mark.
  std::string bigEndian;
  bool ansiLeftOut = false;  // the text has no form in the ANSI code page
};

inline constexpr char kAnsiLeftOut[] = "（查找内容在系统代码页中无法表示，只查找了UTF-8和UTF-16形式）";

// As MakePattern; with `multiEncoding` a text is looked for as every distinct form
// among the ANSI code page, UTF-8 and UTF-16LE (UTF-16BE after its byte-order mark),
// and a text the ANSI code page cannot hold is looked for in the other forms instead
// of being refused. Hexadecimal digits give their bytes either way.
bool MakeSearchPattern(PlatformOps& ops, bool textMode, bool multiEncoding, const std::string& text,
                       const std::string& hex, SearchPattern& pattern, std::string& message);

// UTF-16 code units of a UTF-8 text (characters beyond U+FFFF as surrogate pairs), as
// little- or big-endian bytes.
std::string Utf16Bytes(const std::string& utf8, bool bigEndian);

// Finds any of a few patterns in one pass over a piece. Each pattern is looked for by
// its two least common bytes (16 places at a time with SSE2), and every candidate is
// compared in full. When the comparisons cost far more than the scan (a pattern of
// common bytes over data made of them), the rest of the piece is searched by a
// linear method instead, so no input takes time proportional to size x length.
class PatternFinder {
 public:
  PatternFinder() = default;
  explicit PatternFinder(std::string pattern) : PatternFinder(std::vector<std::string>{std::move(pattern)}) {}
  // Empty patterns are dropped; equal ones are kept once.
  explicit PatternFinder(std::vector<std::string> patterns);
  bool Empty() const { return patterns_.empty(); }
  size_t Longest() const { return longest_; }
  // Whether a pattern occurs in data[0, size).
  bool FoundIn(const char* data, size_t size) const;

 private:
  struct Needle {
    std::string bytes;
    size_t rare1 = 0, rare2 = 0;   // offsets of the two least common bytes
    std::vector<size_t> fallback;  // longest proper border of each prefix (linear search)
  };
  bool FoundFrom(const char* data, size_t size, size_t from) const;
  static bool LinearFind(const Needle& needle, const char* data, size_t size, size_t from);

  std::vector<Needle> patterns_;
  size_t longest_ = 0;
};

}  // namespace velkor
