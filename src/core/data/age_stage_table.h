#pragma once

#include <cassert>
#include <cstddef>
#include <vector>

namespace pellmar {

// A table indexed by age index x (rows, from 0) and stage column j (columns, from 0; the
// analysis uses columns 1 .. m + 1). Sized from the data; growRows() keeps the content.
template <typename Value>
class AgeStageTable {
 public:
  AgeStageTable() = default;
  AgeStageTable(int rows, int columns)
      : rows_(rows), columns_(columns), values_(size(rows, columns)) {}

  [[nodiscard]] int rows() const { return rows_; }
  [[nodiscard]] int columns() const { return columns_; }

  Value& operator()(int x, int j) {
    assert(x >= 0 && x < rows_ && j >= 0 && j < columns_);
    return values_[size(x, columns_) + static_cast<std::size_t>(j)];
  }
  const Value& operator()(int x, int j) const {
    assert(x >= 0 && x < rows_ && j >= 0 && j < columns_);
    return values_[size(x, columns_) + static_cast<std::size_t>(j)];
  }

  // The value at (x, j), or 0 outside the table.
  [[nodiscard]] Value at(int x, int j) const {
    if (x < 0 || x >= rows_ || j < 0 || j >= columns_) return Value{};
    return (*this)(x, j);
  }

  // Makes room for at least `rows` rows; new rows are zero.
  void growRows(int rows) {
    if (rows <= rows_) return;
    rows_ = rows;
    values_.resize(size(rows_, columns_));
  }

  // Sets every element to zero and the size to rows x columns.
  void reset(int rows, int columns) {
    rows_ = rows;
    columns_ = columns;
    values_.assign(size(rows, columns), Value{});
  }

 private:
  // rows x columns, multiplied as sizes: the product of two ints may not fit an int.
  static std::size_t size(int rows, int columns) {
    return static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
  }

  int rows_ = 0;
  int columns_ = 0;
  std::vector<Value> values_;
};

using AgeStageMatrix = AgeStageTable<double>;
using AgeStageCountMatrix = AgeStageTable<int>;

}  // namespace pellmar
