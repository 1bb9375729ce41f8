#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace pellmar {

// The one error the core raises for anything the user must be told about: a fault in an input
// file, an input beyond the limits of the data model, a file that cannot be read or written.
// It carries the message box title and the full text; every front end catches it in one place.
class UserError : public std::runtime_error {
 public:
  // A fatal error ends the program after its message (a fault in the raw data file); the
  // others end only the command that raised it.
  UserError(std::string title, std::string text, bool fatal);

  [[nodiscard]] const std::string& title() const { return title_; }
  [[nodiscard]] const std::string& text() const { return text_; }
  [[nodiscard]] bool fatal() const { return fatal_; }

 private:
  std::string title_;
  std::string text_;
  bool fatal_;
};

inline constexpr std::string_view kDataFileErrorTitle = "Error in data file";

// Raises the fault of a raw data file: title "Error in data file", the specific message, a
// line feed and the request to correct the data. It ends the program.
[[noreturn]] void throwDataFileError(std::string_view message);

// Raises a failure to read or write a file other than the raw data file.
[[noreturn]] void throwFileError(std::string_view message);

}  // namespace pellmar
