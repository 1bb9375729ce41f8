#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/field_reader.h"
#include "core/resampling/bootstrap_results.h"

namespace pellmar {

// Reads the bootstrap samples file that the life-table program wrote: B replicates of n
// individual numbers, each with the replicate's R0 and lambda, then the program's summary
// figures. The replicates are read one at a time, so the file is never held whole.
class SamplesFileReader {
 public:
  // Reads the heading of the file whose text `in` gives; `fileName`, when given, names the file
  // in messages. `cohortSize` is N: the samples must be of this cohort. Faults raise a UserError
  // titled "Bootstrap samples" that ends only the command.
  SamplesFileReader(std::unique_ptr<std::istream> in, int cohortSize,
                    const std::string& fileName = "");
  // The same, from the file's text held whole.
  SamplesFileReader(std::string contents, int cohortSize, const std::string& fileName);

  [[nodiscard]] int replicateCount() const { return replicateCount_; }
  [[nodiscard]] int sampleSize() const { return sampleSize_; }

  // Reads the next replicate. A replicate whose R0 is 0 is a fault of the life-table analysis
  // and raises the fatal error "Bootstrap Ro = 0"; a lambda that is not above 0 is a fault of
  // the file.
  void readReplicate(int b, std::vector<int>& individuals, double& r0, double& lambda);
  // Reads the closing figures after the last replicate.
  LifeTableFigures readClosingFigures();

 private:
  void readHeading();

  FieldReader fields_;
  int cohortSize_;
  int replicateCount_ = 0;
  int sampleSize_ = 0;
};

inline constexpr std::string_view kSamplesFileTitle = "Bootstrap samples";

}  // namespace pellmar
