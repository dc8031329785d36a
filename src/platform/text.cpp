#include "platform/text.h"

#include <algorithm>

namespace velkor {

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

}  // namespace velkor
