#pragma once

#include <string_view>

namespace pellmar::fuzz {

// Each function feeds one input to one reader, the way its fuzz target does, and the
// regression tests feed the inputs that once failed the same way. A UserError is the reader's
// answer to a bad file and is caught; anything else escapes: a crash, a sanitizer report, any
// other exception.

// Reads the input field by field from memory and from a stream in small blocks; throws
// std::logic_error when the two disagree in a field, a line number or a message.
void feedFieldReader(std::string_view input);

// Reads the input as a raw data file; when it passes every check, runs the Basic Run on it and
// writes its report in memory.
void feedStudyFile(std::string_view input);

// Reads the input as a stable age-stage distribution, against the bundled example cohort and a
// small three-stage cohort, each after its Basic Run.
void feedSasdFile(std::string_view input);

// Reads the input as a bootstrap samples file, every replicate and the closing figures, for the
// cohort sizes of the same two cohorts.
void feedSamplesFile(std::string_view input);

// Reads the input as a fecundity file for the same two cohorts; for each it passes, computes the
// life table and its report and reads the stable age-stage distribution file written from it
// back, which must give the life table's lambda, psi and omega exactly. Throws std::logic_error
// when it does not.
void feedFecundityFile(std::string_view input);

// Reads the input as a treatment-2 file and summarises its values as the comparison does.
void feedTreatment2File(std::string_view input);

// Reads the input as the second study of a paired test against a small three-stage cohort; when
// it passes, runs the Basic Run and a bootstrap of a few replicates of each and pairs them, as
// `compare` does.
void feedSecondStudy(std::string_view input);

}  // namespace pellmar::fuzz
