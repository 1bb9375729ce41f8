// The libFuzzer entry of one fuzz target: PELLMAR_FUZZ_FEED names the function of
// reader_inputs.h that the target feeds its inputs to.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "reader_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pellmar::fuzz::PELLMAR_FUZZ_FEED(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
