#include "core/user_error.h"

#include <utility>

namespace pellmar {

UserError::UserError(std::string title, std::string text, ErrorKind kind)
    : std::runtime_error(text), title_(std::move(title)), text_(std::move(text)), kind_(kind) {}

void throwDataFileError(std::string_view message) {
  std::string text(message);
  text += "\nPlease correct your data and rerun this program.";
  throw UserError(std::string(kDataFileErrorTitle), std::move(text), ErrorKind::kProgramEnds);
}

void throwFileError(std::string_view message) {
  throw UserError("File error", std::string(message), ErrorKind::kCommandFailed);
}

}  // namespace pellmar
