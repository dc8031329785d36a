#include "platform/text.h"

#include <algorithm>

namespace velkor {
namespace {
constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

// The upper-case partner of one code point, as the file system's case table has it
// for the scripts titles and folder names are written in.
char32_t UpcaseCodePoint(char32_t c) {
  auto pair = [c](char32_t first, char32_t last, bool lowerIsOdd) {
    return c >= first && c <= last && ((c & 1) != 0) == lowerIsOdd;
  };
  if (c >= U'a' && c <= U'z') return c - 32;
  if (c < 0x80) return c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c == 0xB5) return 0x39C;
  if (c == 0x131) return c;  // dotless i has no partner of its own
  if (pair(0x100, 0x137, true) || pair(0x139, 0x148, false) || pair(0x14A, 0x177, true) || pair(0x179, 0x17E, false))
    return c - 1;
  if ((c >= 0x3B1 && c <= 0x3C1) || (c >= 0x3C3 && c <= 0x3CB)) return c - 32;
  if (c == 0x3C2) return 0x3A3;
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 37;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 63;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  if (pair(0x460, 0x481, true) || pair(0x48A, 0x4BF, true) || pair(0x4C1, 0x4CE, false) || pair(0x4D0, 0x52F, true))
    return c - 1;
  if (c == 0x4CF) return 0x4C0;
  if (c >= 0x561 && c <= 0x586) return c - 48;
  if (pair(0x1E00, 0x1E95, true) || pair(0x1EA0, 0x1EFF, true)) return c - 1;
  if (c >= 0x2170 && c <= 0x217F) return c - 16;
  if (c >= 0x24D0 && c <= 0x24E9) return c - 26;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 32;
  return c;
}

// Length of the well-formed UTF-8 sequence at `at` (0 when it is not one) and its code point.
size_t DecodeUtf8(std::string_view s, size_t at, char32_t& c) {
  const auto b = static_cast<unsigned char>(s[at]);
  size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (n == 0 || at + n > s.size()) return 0;
  c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
  for (size_t i = 1; i < n; ++i) {
    const auto t = static_cast<unsigned char>(s[at + i]);
    if ((t >> 6) != 2) return 0;
    c = (c << 6) | (t & 0x3F);
  }
  const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < least[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

size_t FindIgnoringAsciiCase(std::string_view haystack, std::string_view needle, size_t from) {
  if (from > haystack.size()) return std::string_view::npos;
  auto it = std::search(haystack.begin() + from, haystack.end(), needle.begin(), needle.end(),
                        [](char a, char b) { return FoldAscii(a) == FoldAscii(b); });
  return it == haystack.end() && !needle.empty() ? std::string_view::npos : static_cast<size_t>(it - haystack.begin());
}

bool ContainsIgnoringAsciiCase(std::string_view haystack, std::string_view needle) {
  return FindIgnoringAsciiCase(haystack, needle) != std::string_view::npos;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), FoldAscii);
  return out;
}

std::string TrimSpaces(std::string_view text) {
  for (;;) {
    if (text.starts_with(' ')) {
      text.remove_prefix(1);
    } else if (text.starts_with(kFullWidthSpace)) {
      text.remove_prefix(kFullWidthSpace.size());
    } else if (text.ends_with(' ')) {
      text.remove_suffix(1);
    } else if (text.ends_with(kFullWidthSpace)) {
      text.remove_suffix(kFullWidthSpace.size());
    } else {
      return std::string(text);
    }
  }
}

std::string UpcaseForNames(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    char32_t c = 0;
    const size_t n = DecodeUtf8(utf8, at, c);
    if (n == 0) {
      out.push_back(utf8[at++]);
      continue;
    }
    AppendUtf8(out, UpcaseCodePoint(c));
    at += n;
  }
  return out;
}

bool ContainsIgnoringNameCase(std::string_view haystack, std::string_view needle) {
  return UpcaseForNames(haystack).find(UpcaseForNames(needle)) != std::string::npos;
}

}  // namespace velkor
