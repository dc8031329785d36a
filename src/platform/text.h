// Small text helpers shared by the portable code. Texts are UTF-8; "ignoring case"
// folds ASCII letters only.
#pragma once

#include <string>
#include <string_view>

namespace velkor {

char FoldAscii(char c);
// Position of `needle` in `haystack` at or after `from`, ASCII letters folded; npos when absent.
size_t FindIgnoringAsciiCase(std::string_view haystack, std::string_view needle, size_t from = 0);
bool ContainsIgnoringAsciiCase(std::string_view haystack, std::string_view needle);
std::string AsciiLower(std::string_view text);
// Spaces and the full-width space (U+3000) off both ends; tabs and line breaks stay.
std::string TrimSpaces(std::string_view text);

// Case folded as the file system folds names: every letter of the common scripts
// (Latin, Greek, Cyrillic, Armenian, full-width forms, ...) to upper case, one code
// point at a time. Bytes that are not UTF-8 stay as they are.
// Appends the UTF-8 form of the code point `c`.
void AppendUtf8(std::string& out, char32_t c);
std::string UpcaseForNames(std::string_view utf8);
bool ContainsIgnoringNameCase(std::string_view haystack, std::string_view needle);

}  // namespace velkor
