#pragma once

#include <string>

namespace pellmar {

// A message a command leaves for the user: the desktop shows it in a message box with this
// title, the command line prints its text.
struct Notice {
  std::string title;
  std::string text;
};

}  // namespace pellmar
