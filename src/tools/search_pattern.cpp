#include "tools/search_pattern.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#if defined(_MSC_VER)
#include <intrin.h>
#endif
#define VELKOR_SEARCH_SSE2 1
#else
#define VELKOR_SEARCH_SSE2 0
#endif

namespace velkor {
namespace {

#if VELKOR_SEARCH_SSE2
int CountTrailingZeros(unsigned mask) {
#if defined(_MSC_VER) && !defined(__clang__)
  unsigned long index;
  _BitScanForward(&index, mask);
  return static_cast<int>(index);
#else
  return __builtin_ctz(mask);
#endif
}
#endif

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

std::string Utf16Bytes(const std::string& utf8, bool bigEndian) {
  std::string out;
  auto unit = [&](uint32_t u) {
    const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  };
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    uint32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length && i + k < utf8.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += static_cast<size_t>(length);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      unit(0xD800 | (cp >> 10));
      unit(0xDC00 | (cp & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out;
}

bool MakeSearchPattern(PlatformOps& ops, bool textMode, bool multiEncoding, const std::string& text,
                       const std::string& hex, SearchPattern& pattern, std::string& message) {
  pattern = SearchPattern();
  std::string ansi;
  if (!textMode || !multiEncoding) {
    if (!MakePattern(ops, textMode, text, hex, ansi, message)) return false;
    pattern.forms = {ansi};
    return true;
  }
  if (text.empty()) return true;  // nothing to look for, as with one form
  if (ops.ToAnsi(text, ansi)) {
    pattern.forms.push_back(ansi);
  } else {
    pattern.ansiLeftOut = true;
  }
  for (std::string form : {text, Utf16Bytes(text, false)})
    if (std::find(pattern.forms.begin(), pattern.forms.end(), form) == pattern.forms.end())
      pattern.forms.push_back(std::move(form));
  pattern.bigEndian = Utf16Bytes(text, true);
  return true;
}

PatternFinder::PatternFinder(std::vector<std::string> patterns) {
  auto rank = [](char c) { return kByteRanks[static_cast<unsigned char>(c)]; };
  for (std::string& bytes : patterns) {
    if (bytes.empty()) continue;
    if (std::any_of(patterns_.begin(), patterns_.end(), [&](const Needle& n) { return n.bytes == bytes; })) continue;
    Needle needle;
    needle.bytes = std::move(bytes);
    const std::string& b = needle.bytes;
    const size_t m = b.size();
    for (size_t i = 1; i < m; ++i)
      if (rank(b[i]) < rank(b[needle.rare1])) needle.rare1 = i;
    // The second byte at another offset, preferring one that differs from the first.
    needle.rare2 = needle.rare1 == 0 && m > 1 ? 1 : 0;
    for (size_t i = 0; i < m; ++i) {
      if (i == needle.rare1) continue;
      const bool differs = b[i] != b[needle.rare1], bestDiffers = b[needle.rare2] != b[needle.rare1];
      if ((differs && !bestDiffers) || (differs == bestDiffers && rank(b[i]) < rank(b[needle.rare2]))) needle.rare2 = i;
    }
    needle.fallback.assign(m, 0);
    for (size_t i = 1, k = 0; i < m; ++i) {
      while (k > 0 && b[i] != b[k]) k = needle.fallback[k - 1];
      if (b[i] == b[k]) ++k;
      needle.fallback[i] = k;
    }
    longest_ = std::max(longest_, m);
    patterns_.push_back(std::move(needle));
  }
}

bool PatternFinder::FoundIn(const char* data, size_t size) const { return FoundFrom(data, size, 0); }

bool PatternFinder::LinearFind(const Needle& needle, const char* data, size_t size, size_t from) {
  const std::string& b = needle.bytes;
  const size_t m = b.size();
  for (size_t i = from, k = 0; i < size; ++i) {
    while (k > 0 && data[i] != b[k]) k = needle.fallback[k - 1];
    if (data[i] == b[k] && ++k == m) return true;
  }
  return false;
}

bool PatternFinder::FoundFrom(const char* data, size_t size, size_t from) const {
  if (patterns_.empty()) return false;
  // Comparison work allowed before the linear method takes over: a few times the bytes
  // scanned, plus a little for the short pieces.
  size_t compared = 0;
  auto tooCostly = [&](size_t at) { return compared > 4 * (at - from) + 65536; };
  auto candidate = [&](const Needle& n, size_t at) {
    compared += n.bytes.size();
    return std::memcmp(data + at, n.bytes.data(), n.bytes.size()) == 0;
  };
  auto linearFrom = [&](size_t at) {
    for (const Needle& n : patterns_)
      if (LinearFind(n, data, size, at)) return true;
    return false;
  };

  size_t at = from;  // the next starting place to look at
#if VELKOR_SEARCH_SSE2
  // Starting places [at, at + 16) at once, for every pattern that fits.
  struct Lanes {
    __m128i first, second;
  };
  Lanes lanes[8];
  const size_t wide = std::min<size_t>(patterns_.size(), std::size(lanes));
  for (size_t i = 0; i < wide; ++i) {
    lanes[i].first = _mm_set1_epi8(patterns_[i].bytes[patterns_[i].rare1]);
    lanes[i].second = _mm_set1_epi8(patterns_[i].bytes[patterns_[i].rare2]);
  }
  if (wide == patterns_.size()) {
    while (size >= longest_ + 15 && at <= size - longest_ - 15) {
      for (size_t i = 0; i < wide; ++i) {
        const Needle& n = patterns_[i];
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + n.rare1));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + n.rare2));
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, lanes[i].first), _mm_cmpeq_epi8(b, lanes[i].second))));
        for (; mask; mask &= mask - 1) {
          if (candidate(n, at + static_cast<size_t>(CountTrailingZeros(mask)))) return true;
        }
      }
      at += 16;
      if (tooCostly(at)) return linearFrom(at);
    }
  }
#endif
  // The rest one place at a time (and everything where SSE2 is missing).
  for (const Needle& n : patterns_) {
    const size_t m = n.bytes.size();
    if (size < m) continue;
    const char rare = n.bytes[n.rare1];
    for (const char* p = data + at + n.rare1; p < data + size - m + n.rare1 + 1; ++p) {
      p = static_cast<const char*>(std::memchr(p, rare, static_cast<size_t>(data + size - m + n.rare1 + 1 - p)));
      if (!p) break;
      const size_t start = static_cast<size_t>(p - data) - n.rare1;
      if (data[start + n.rare2] == n.bytes[n.rare2] && candidate(n, start)) return true;
      if (tooCostly(start + 1)) return linearFrom(at);
    }
  }
  return false;
}

}  // namespace velkor
