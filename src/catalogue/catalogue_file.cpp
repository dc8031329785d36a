#include "catalogue/catalogue_file.h"

#include <cstring>
#include <optional>

namespace velkor {
namespace {

constexpr int32_t kNoImage = -1;
constexpr size_t kHeadSize = 17;

void PutInt(std::string& out, int32_t value) {
  const auto u = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((u >> shift) & 0xFF));
}

void PutEntry(std::string& out, bool rowEntry, int32_t indent, int32_t itemValue, const std::string& text,
              const std::string& tip = {}) {
  out.push_back(rowEntry ? '\0' : '\1');
  PutInt(out, kNoImage);
  PutInt(out, kNoImage);
  PutInt(out, indent);
  PutInt(out, itemValue);
  out.append(text.c_str());  // a text ends at its first zero byte
  out.push_back('\0');
  out.append(tip.c_str());
  out.push_back('\0');
}

struct Entry {
  bool rowEntry = false;
  int32_t indent = 0, itemValue = 0;
  std::string_view text;
  std::string_view tip;
};

int32_t GetInt(std::string_view bytes, size_t at) {
  uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(bytes[at + i]);
  return static_cast<int32_t>(u);
}

// Reads the entry at `pos` and moves past it; nothing when the data ends inside it.
std::optional<Entry> NextEntry(std::string_view bytes, size_t& pos) {
  if (bytes.size() - pos < kHeadSize) return std::nullopt;
  Entry e;
  e.rowEntry = bytes[pos] == '\0';
  e.indent = GetInt(bytes, pos + 9);
  e.itemValue = GetInt(bytes, pos + 13);
  size_t at = pos + kHeadSize;
  const size_t textEnd = bytes.find('\0', at);
  if (textEnd == std::string_view::npos) return std::nullopt;
  const size_t tipEnd = bytes.find('\0', textEnd + 1);
  if (tipEnd == std::string_view::npos) return std::nullopt;
  e.text = bytes.substr(at, textEnd - at);
  e.tip = bytes.substr(textEnd + 1, tipEnd - textEnd - 1);
  pos = tipEnd + 1;
  return e;
}

// Bytes the code page cannot turn into text and back unchanged are held in the list as
// private-use characters U+F780..U+F7FF (U+F700 + the byte), so a save writes them back
// exactly; the code page has no characters there.
constexpr char32_t kRawByteBase = 0xF700;

std::string RawByteChar(unsigned char b) {
  const char32_t c = kRawByteBase + b;
  return {'\xEF', static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
}

// The raw byte held at `at`, or -1 when none is.
int RawByteAt(std::string_view text, size_t at) {
  if (at + 3 > text.size() || text[at] != '\xEF') return -1;
  const auto b1 = static_cast<unsigned char>(text[at + 1]), b2 = static_cast<unsigned char>(text[at + 2]);
  if ((b1 != 0x9E && b1 != 0x9F) || (b2 >> 6) != 2) return -1;
  return static_cast<int>((0xF000 | ((b1 & 0x3F) << 6) | (b2 & 0x3F)) - kRawByteBase);
}

std::string TextOfStored(PlatformOps& ops, const std::string& bytes) {
  std::string text = ops.FromAnsi(bytes), back;
  if (ops.ToAnsi(text, back) && back == bytes) return text;
  text.clear();
  for (unsigned char b : bytes)
    if (b < 0x80)
      text.push_back(static_cast<char>(b));
    else
      text += RawByteChar(b);
  return text;
}

bool StoredOfText(PlatformOps& ops, const std::string& text, std::string& bytes) {
  bytes.clear();
  std::string run, ansi;
  auto flush = [&] {
    if (run.empty()) return true;
    if (!ops.ToAnsi(run, ansi)) return false;  // never store a lossy copy
    bytes += ansi;
    run.clear();
    return true;
  };
  for (size_t at = 0; at < text.size();) {
    const int raw = RawByteAt(text, at);
    if (raw < 0) {
      run.push_back(text[at++]);
      continue;
    }
    if (!flush()) return false;
    bytes.push_back(static_cast<char>(raw));
    at += 3;
  }
  return flush();
}

}  // namespace

bool HoldsRawBytes(const std::string& text) {
  for (size_t at = 0; at < text.size(); ++at)
    if (RawByteAt(text, at) >= 0) return true;
  return false;
}

std::string EncodeCatalogue(const std::vector<CatalogueRow>& rows, int columnCount) {
  std::string out;
  for (const CatalogueRow& row : rows) {
    auto cell = [&](int c) -> const std::string& {
      static const std::string empty;
      return c < static_cast<int>(row.cells.size()) ? row.cells[c] : empty;
    };
    PutEntry(out, true, row.indent, row.itemValue, cell(0), row.tip);
    for (int c = 1; c < columnCount; ++c) PutEntry(out, false, 0, 0, cell(c));
  }
  return out;
}

std::vector<CatalogueRow> DecodeCatalogue(std::string_view bytes, int columnCount, size_t maxRows) {
  std::vector<CatalogueRow> rows;
  int nextColumn = 0;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const std::optional<Entry> e = NextEntry(bytes, pos);
    if (!e) break;
    if (e->rowEntry) {
      if (rows.size() == maxRows) break;
      CatalogueRow row;
      row.cells.assign(columnCount, std::string());
      if (columnCount > 0) row.cells[0] = std::string(e->text);
      row.indent = e->indent;
      row.itemValue = e->itemValue;
      row.tip = std::string(e->tip);
      rows.push_back(std::move(row));
      nextColumn = 1;
    } else if (!rows.empty() && nextColumn < columnCount) {
      rows.back().cells[nextColumn++] = std::string(e->text);
    }
  }
  return rows;
}

bool SaveCatalogue(const RowList& list, const std::string& path, PlatformOps& ops) {
  // The rows are taken whole before anything is written, so the file always matches
  // the list as it stood at one moment.
  const int columns = list.ColumnCount();
  std::vector<CatalogueRow> rows;
  for (int r = 0, n = list.RowCount(); r < n; ++r) {
    CatalogueRow row = list.Row(r);
    std::string bytes;
    for (std::string& text : row.cells) {
      if (!StoredOfText(ops, text, bytes)) return false;
      text = bytes;
    }
    if (!StoredOfText(ops, row.tip, bytes)) return false;
    row.tip = bytes;
    rows.push_back(std::move(row));
  }
  return ops.ReplaceFileContents(path, EncodeCatalogue(rows, columns));
}

bool SaveCatalogue(CatalogueContext& context) {
  if (context.catalogueFileKept) return false;
  return SaveCatalogue(context.rows, context.paths.CatalogueFile(), context.ops);
}

LoadOutcome LoadCatalogue(RowList& list, const std::string& path, PlatformOps& ops) {
  std::string bytes;
  switch (ops.ReadFileAtMost(path, kMaxCatalogueBytes, bytes)) {
    case ReadOutcome::Read: break;
    case ReadOutcome::Unreadable: return LoadOutcome::Unreadable;
    case ReadOutcome::TooLarge: return LoadOutcome::TooLarge;
  }
  std::vector<CatalogueRow> rows = DecodeCatalogue(bytes, list.ColumnCount(), kMaxCatalogueRows + 1);
  if (rows.size() > kMaxCatalogueRows) return LoadOutcome::TooLarge;
  list.Clear();
  for (CatalogueRow& row : rows) {
    for (std::string& text : row.cells) text = TextOfStored(ops, text);
    row.tip = TextOfStored(ops, row.tip);
    list.AppendRow(row);
  }
  return LoadOutcome::Loaded;
}

}  // namespace velkor
