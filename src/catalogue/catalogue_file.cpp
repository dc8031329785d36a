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

void PutEntry(std::string& out, bool rowEntry, int32_t indent, int32_t itemValue, const std::string& text) {
  out.push_back(rowEntry ? '\0' : '\1');
  PutInt(out, kNoImage);
  PutInt(out, kNoImage);
  PutInt(out, indent);
  PutInt(out, itemValue);
  out.append(text.c_str());  // a text ends at its first zero byte
  out.push_back('\0');
  out.push_back('\0');  // empty tip
}

struct Entry {
  bool rowEntry = false;
  int32_t indent = 0, itemValue = 0;
  std::string_view text;
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
  pos = tipEnd + 1;
  return e;
}

}  // namespace

std::string EncodeCatalogue(const std::vector<CatalogueRow>& rows, int columnCount) {
  std::string out;
  for (const CatalogueRow& row : rows) {
    auto cell = [&](int c) -> const std::string& {
      static const std::string empty;
      return c < static_cast<int>(row.cells.size()) ? row.cells[c] : empty;
    };
    PutEntry(out, true, row.indent, row.itemValue, cell(0));
    for (int c = 1; c < columnCount; ++c) PutEntry(out, false, 0, 0, cell(c));
  }
  return out;
}

std::vector<CatalogueRow> DecodeCatalogue(std::string_view bytes, int columnCount) {
  std::vector<CatalogueRow> rows;
  int nextColumn = 0;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const std::optional<Entry> e = NextEntry(bytes, pos);
    if (!e) break;
    if (e->rowEntry) {
      CatalogueRow row;
      row.cells.assign(columnCount, std::string());
      if (columnCount > 0) row.cells[0] = std::string(e->text);
      row.indent = e->indent;
      row.itemValue = e->itemValue;
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
    for (std::string& text : row.cells) {
      std::string ansi;
      if (!ops.ToAnsi(text, ansi)) return false;  // never store a lossy copy
      text = std::move(ansi);
    }
    rows.push_back(std::move(row));
  }
  return ops.ReplaceFileContents(path, EncodeCatalogue(rows, columns));
}

void LoadCatalogue(RowList& list, const std::string& path, PlatformOps& ops) {
  std::string bytes;
  if (!ops.ReadWholeFile(path, bytes)) bytes.clear();
  list.Clear();
  for (CatalogueRow& row : DecodeCatalogue(bytes, list.ColumnCount())) {
    for (std::string& text : row.cells) text = ops.FromAnsi(text);
    list.AppendRow(row);
  }
}

}  // namespace velkor
