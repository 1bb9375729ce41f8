#pragma once

#include <string>
#include <string_view>

namespace pellmar {

// The SHA-256 of `bytes`, in lower-case hexadecimal, from the system's cryptography library.
std::string sha256Of(std::string_view bytes);

}  // namespace pellmar
