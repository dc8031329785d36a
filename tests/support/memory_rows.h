// An in-memory stand-in for the main list.
#pragma once

#include <string>
#include <vector>

#include "catalogue/row_list.h"

namespace velkor::test {

class MemoryRows : public RowList {
 public:
  explicit MemoryRows(int columns = kColumnCount) : columns_(columns) {}

  int RowCount() const override { return static_cast<int>(rows_.size()); }
  int ColumnCount() const override { return columns_; }
  std::string Cell(int row, int column) const override {
    if (row < 0 || row >= RowCount() || column < 0 || column >= columns_) return "";
    return rows_[row].cells[column];
  }
  void SetCell(int row, int column, const std::string& text) override {
    if (row >= 0 && row < RowCount() && column >= 0 && column < columns_) rows_[row].cells[column] = text;
  }
  CatalogueRow Row(int row) const override { return rows_.at(row); }
  int AppendRow(const CatalogueRow& row) override {
    CatalogueRow copy = row;
    copy.cells.resize(columns_);
    rows_.push_back(copy);
    return RowCount() - 1;
  }
  void DeleteRow(int row) override {
    rows_.erase(rows_.begin() + row);
    if (selected_ == row) selected_ = -1;
  }
  void Clear() override { rows_.clear(), selected_ = -1; }
  int Selected() const override { return selected_; }

  void Select(int row) { selected_ = row; }
  // Convenience for tables of expected rows: the texts of every row.
  std::vector<std::vector<std::string>> Texts() const {
    std::vector<std::vector<std::string>> out;
    for (const CatalogueRow& r : rows_) out.push_back(r.cells);
    return out;
  }
  int AddTexts(std::vector<std::string> cells) { return AppendRow(CatalogueRow{std::move(cells)}); }

 private:
  int columns_;
  std::vector<CatalogueRow> rows_;
  int selected_ = -1;
};

}  // namespace velkor::test
