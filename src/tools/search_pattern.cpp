#include "tools/search_pattern.h"

#include <array>
#include <cstring>
#include <vector>

namespace velkor {
namespace {

constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

int SymbolValue(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  const char* at = std::strchr(kDigits, c);
  return c != '\0' && at ? static_cast<int>(at - kDigits) : -1;
}

bool IsHexDigit(char c) {
  const int v = SymbolValue(c);
  return v >= 0 && v < 16;
}

// How common a byte is in ordinary files, higher for more common: zero bytes and
// spaces first, then letters by their frequency in English, digits, punctuation,
// and the rest.
constexpr std::array<unsigned char, 256> MakeByteRanks() {
  std::array<unsigned char, 256> rank{};
  for (int c = 0; c < 256; ++c) rank[c] = c >= 0x80 ? 40 : 30;
  constexpr char byFrequency[] = "etaoinshrdlcumwfgypbvkjxqz";
  for (int i = 0; i < 26; ++i) {
    rank[static_cast<unsigned char>(byFrequency[i])] = static_cast<unsigned char>(240 - 2 * i);
    rank[static_cast<unsigned char>(byFrequency[i] - 'a' + 'A')] = static_cast<unsigned char>(150 - 2 * i);
  }
  for (int d = 0; d < 10; ++d) rank['0' + d] = static_cast<unsigned char>(140 - d);
  for (const char* p = ".,;:'\"-_()/=<>\\{}[]*#&+!?%$@|~`^"; *p; ++p) rank[static_cast<unsigned char>(*p)] = 90;
  rank[' '] = 250;
  rank['\n'] = rank['\r'] = rank['\t'] = 200;
  rank[0x00] = 255;
  rank[0xFF] = 160;
  return rank;
}

constexpr std::array<unsigned char, 256> kByteRanks = MakeByteRanks();

}  // namespace

std::string ConvertBase(const std::string& digits, int from, int to) {
  if (from < 2 || from > 36 || to < 2 || to > 36) return {};
  if (digits.size() > kLongestConvertible) return {};
  for (char c : digits)
    if (SymbolValue(c) < 0) return {};
  if (from == to) return digits;
  // Exact long arithmetic, least significant place first: a floating-point sum runs
  // out of range after a few hundred digits and turns into undefined conversions.
  std::vector<int> value;
  for (char c : digits) {
    int carry = SymbolValue(c);
    for (int& place : value) {
      const int v = place * from + carry;
      place = v % to;
      carry = v / to;
    }
    for (; carry > 0; carry /= to) value.push_back(carry % to);
  }
  if (value.empty()) return "0";
  std::string out;
  for (auto place = value.rbegin(); place != value.rend(); ++place) out.push_back(kDigits[*place]);
  return out;
}

std::optional<std::string> HexToBytes(const std::string& text) {
  for (char c : text)
    if (!IsHexDigit(c)) return std::nullopt;
  std::string bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 2)
    bytes.push_back(static_cast<char>(std::stoi(ConvertBase(text.substr(i, 2), 16, 10)) & 0xFF));
  return bytes;
}

bool MakePattern(PlatformOps& ops, bool textMode, const std::string& text, const std::string& hex, std::string& pattern,
                 std::string& message) {
  if (textMode) {
    if (ops.ToAnsi(text, pattern)) return true;
    message = kTextRefused;
    return false;
  }
  if (std::optional<std::string> bytes = HexToBytes(hex)) {
    pattern = std::move(*bytes);
    return true;
  }
  message = kHexRefused;
  return false;
}

PatternFinder::PatternFinder(std::string pattern) : pattern_(std::move(pattern)) {
  for (size_t i = 1; i < pattern_.size(); ++i)
    if (kByteRanks[static_cast<unsigned char>(pattern_[i])] < kByteRanks[static_cast<unsigned char>(pattern_[rare_])])
      rare_ = i;
}

bool PatternFinder::FoundIn(const char* data, size_t size) const {
  const size_t m = pattern_.size();
  if (m == 0 || size < m) return false;
  const char rare = pattern_[rare_];
  // Candidates place their rare byte in [rare_, size - m + rare_].
  const char* p = data + rare_;
  const char* const end = data + (size - m) + rare_ + 1;
  while (p < end) {
    p = static_cast<const char*>(std::memchr(p, rare, static_cast<size_t>(end - p)));
    if (!p) return false;
    if (std::memcmp(p - rare_, pattern_.data(), m) == 0) return true;
    ++p;
  }
  return false;
}

}  // namespace velkor
