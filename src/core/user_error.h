#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace pellmar {

// What an error ends, and whose fault it is: the command line turns it into its exit status.
enum class ErrorKind {
  kInvalidRequest,  // a value the user chose is out of range or missing: ends the command
  kCommandFailed,   // a file cannot be read or written, or holds what it must not: ends the command
  kProgramEnds,     // a fault in the raw data (or in the samples drawn from it): ends the program
};

// The one error the core raises for anything the user must be told about: a fault in an input
// file, an input beyond the limits of the data model, a file that cannot be read or written, a
// request that cannot be run. It carries the message box title and the full text; every front
// end catches it in one place.
class UserError : public std::runtime_error {
 public:
  UserError(std::string title, std::string text, ErrorKind kind);

  [[nodiscard]] const std::string& title() const { return title_; }
  [[nodiscard]] const std::string& text() const { return text_; }
  [[nodiscard]] ErrorKind kind() const { return kind_; }
  // True when the error ends the program after its message.
  [[nodiscard]] bool fatal() const { return kind_ == ErrorKind::kProgramEnds; }

 private:
  std::string title_;
  std::string text_;
  ErrorKind kind_;
};

inline constexpr std::string_view kDataFileErrorTitle = "Error in data file";

// Raises the fault of a raw data file: title "Error in data file", the specific message, a
// line feed and the request to correct the data. It ends the program.
[[noreturn]] void throwDataFileError(std::string_view message);

// Raises a failure to read or write a file other than the raw data file.
[[noreturn]] void throwFileError(std::string_view message);

}  // namespace pellmar
