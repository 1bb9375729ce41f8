#pragma once

#include <optional>

#include "app/open_command.h"
#include "app/read_fecundity_command.h"
#include "core/platform/platform.h"
#include "core/session.h"

namespace pellmar {

// A study read and analysed in memory with every check that the open step, the Basic Run and
// Read fecundity make, and nothing written: not even the empty basic report. While it lives it
// holds the lock on the study's results, as a run of the commands does; the lock file goes when
// it is destroyed. For charts drawn from the command line.
class StudyInMemory {
 public:
  // Raises the data file error for a fault in the study, the fecundity file's error for a fault
  // in it, and the refusal of a request out of range.
  StudyInMemory(const OpenRequest& open, const std::optional<ReadFecundityRequest>& fecundity);

  [[nodiscard]] const Session& session() const { return session_; }

 private:
  platform::FileLock lock_;
  Session session_;
};

}  // namespace pellmar
