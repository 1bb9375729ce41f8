// The libFuzzer entry of the desktop program's batch chart options: the input, split at its
// line ends, is the argument list after "--export-chart". Bad usage is refused with a message;
// anything else (a crash, undefined behaviour) is a fault.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/shell/desktop_command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> arguments{"--export-chart"};
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    arguments.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  try {
    pellmar::parseDesktopCommandLine(arguments);
  } catch (const pellmar::CommandLineError&) {
  }
  return 0;
}
