#include "core/data/stage_label.h"

namespace pellmar {
namespace {

// The first `count` characters of UTF-8 text (a multi-byte character counts once).
std::string firstCharacters(const std::string& text, int count) {
  std::size_t end = 0;
  for (int taken = 0; taken < count && end < text.size(); ++taken) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) ++end;
  }
  return text.substr(0, end);
}

}  // namespace

std::string stageLabel(const Study& study, int j) {
  constexpr int kLabelLength = 4;
  const int m = study.stageCount;
  if (j == m) return firstCharacters("Female", kLabelLength);
  if (j == m + 1) return "Male";
  if (study.stageName.size() < 2 || j < 0 || j >= static_cast<int>(study.stageName[1].size())) {
    return "";
  }
  return firstCharacters(study.name(1, j), kLabelLength);
}

}  // namespace pellmar
