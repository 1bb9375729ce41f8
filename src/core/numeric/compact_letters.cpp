#include "core/numeric/compact_letters.h"

#include <algorithm>
#include <numeric>

namespace pellmar {
namespace {

// One letter's treatments, as flags by rank.
using Column = std::vector<bool>;

bool contains(const Column& outer, const Column& inner) {
  for (std::size_t r = 0; r < inner.size(); ++r) {
    if (inner[r] && !outer[r]) return false;
  }
  return true;
}

// Drops every column that another holds whole (of equal columns, the first stays).
void absorb(std::vector<Column>& columns) {
  std::vector<Column> kept;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    bool absorbed = false;
    for (std::size_t d = 0; d < columns.size() && !absorbed; ++d) {
      if (d == c || !contains(columns[d], columns[c])) continue;
      absorbed = columns[d] != columns[c] || d < c;
    }
    if (!absorbed) kept.push_back(columns[c]);
  }
  columns = std::move(kept);
}

std::string letterName(std::size_t index) {
  constexpr std::size_t kAlphabet = 26;
  if (index < kAlphabet) return {static_cast<char>('a' + index)};
  if (index < 2 * kAlphabet) return {static_cast<char>('A' + index - kAlphabet)};
  return "z" + std::to_string(index - 2 * kAlphabet + 1);
}

}  // namespace

std::vector<std::string> compactLetters(std::span<const std::optional<double>> estimates,
                                        std::span<const std::uint8_t> differ) {
  const std::size_t count = estimates.size();
  std::vector<std::size_t> ranked;  // the treatments with an estimate, highest first
  for (std::size_t i = 0; i < count; ++i) {
    if (estimates[i]) ranked.push_back(i);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [&](std::size_t a, std::size_t b) { return *estimates[a] > *estimates[b]; });
  const std::size_t ranks = ranked.size();
  std::vector<std::string> letters(count);
  if (ranks == 0) return letters;

  // Insert: every pair that differs splits each column holding both into one without either.
  std::vector<Column> columns{Column(ranks, true)};
  for (std::size_t a = 0; a < ranks; ++a) {
    for (std::size_t b = a + 1; b < ranks; ++b) {
      if (differ[ranked[a] * count + ranked[b]] == 0) continue;
      std::vector<Column> split;
      for (const Column& column : columns) {
        if (!column[a] || !column[b]) {
          split.push_back(column);
          continue;
        }
        Column withoutA = column;
        withoutA[a] = false;
        Column withoutB = column;
        withoutB[b] = false;
        split.push_back(std::move(withoutA));
        split.push_back(std::move(withoutB));
      }
      columns = std::move(split);
      absorb(columns);
    }
  }
  // Letters in the order of their members' ranks, best first.
  std::sort(columns.begin(), columns.end(), [](const Column& x, const Column& y) {
    for (std::size_t r = 0; r < x.size(); ++r) {
      if (x[r] != y[r]) return static_cast<bool>(x[r]);
    }
    return false;
  });
  for (std::size_t c = 0; c < columns.size(); ++c) {
    for (std::size_t r = 0; r < ranks; ++r) {
      if (columns[c][r]) letters[ranked[r]] += letterName(c);
    }
  }
  return letters;
}

}  // namespace pellmar
