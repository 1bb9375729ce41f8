#include "core/data/input_file.h"

#include "core/platform/utf8_path.h"
#include "core/user_error.h"

namespace pellmar {

std::unique_ptr<std::ifstream> openInputFile(const std::string& path, std::string_view title) {
  auto stream = std::make_unique<std::ifstream>(pathFromUtf8(path), std::ios::binary);
  if (!*stream) {
    throw UserError(std::string(title), "The file " + path + " cannot be read.",
                    ErrorKind::kCommandFailed);
  }
  return stream;
}

}  // namespace pellmar
