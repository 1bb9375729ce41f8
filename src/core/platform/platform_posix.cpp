#include <unistd.h>

#include "core/platform/platform.h"

namespace pellmar::platform {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  if (argc < 1) return {};
  return {argv + 1, argv + argc};
}

void useUtf8Console() {
  // A terminal here takes the bytes as they are.
}

unsigned long processId() { return static_cast<unsigned long>(::getpid()); }

}  // namespace pellmar::platform
