#include "platform/text.h"

#include <algorithm>

namespace velkor {
namespace {
constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";
}  // namespace

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

}  // namespace velkor
