// The main list seen as rows of texts. At run time the list view is the catalogue
// itself; tests use an in-memory table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

enum Column : int { kColIndex = 0, kColTitle = 1, kColSize = 2, kColPath = 3, kColState = 4, kColumnCount = 5 };

inline constexpr char kStateRunning[] = "运行中";
inline constexpr char kStateIdle[] = "-";
inline constexpr char kStateLoadError[] = "载入出错";
inline constexpr char kSizeUnmeasured[] = "---";

// One row as the catalogue file stores it: the texts plus the row's own numbers.
struct CatalogueRow {
  std::vector<std::string> cells;  // column 0 first
  int32_t indent = 0;
  int32_t itemValue = 0;
  std::string tip = {};  // shown while the pointer rests on the row; kept as the file had it
  bool operator==(const CatalogueRow&) const = default;
};

class RowList {
 public:
  virtual ~RowList() = default;
  virtual int RowCount() const = 0;
  virtual int ColumnCount() const = 0;
  // A cell that does not exist (row -1 included) reads as "".
  virtual std::string Cell(int row, int column) const = 0;
  virtual void SetCell(int row, int column, const std::string& text) = 0;
  virtual CatalogueRow Row(int row) const = 0;
  // Appends a row (missing cells empty) and returns its index.
  virtual int AppendRow(const CatalogueRow& row) = 0;
  virtual void DeleteRow(int row) = 0;
  virtual void Clear() = 0;
  virtual int Selected() const = 0;  // -1 when none
};

}  // namespace velkor
