#pragma once

#include <array>
#include <string>

namespace pellmar {

// A saying shown on the main window, with its author.
struct Quotation {
  const char* text;
  const char* author;
};

inline constexpr int kQuotationCount = 53;

// The 53 sayings about science and nature (entries 0..52 of the quotation table).
const std::array<Quotation, kQuotationCount>& quotations();

// The instructions of the main window (entry 53 of the quotation table).
std::string instructionText();

// Entry k (0..53) of the quotation table as shown: a saying with its author, or for k = 53 the
// instructions.
std::string quotationText(int k);

// The two entries the main window shows when it loads: one below the instructions (0..52) and
// one on the quotation line (0..53, so the line may repeat the instructions). Both come from
// successive uniform random numbers of a generator seeded with the seconds of the clock.
struct QuotationChoice {
  int belowInstructions = 0;
  int quotationLine = 0;
};
QuotationChoice chooseQuotations(int clockSecond);

}  // namespace pellmar
