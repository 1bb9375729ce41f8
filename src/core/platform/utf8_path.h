#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pellmar {

// Every file name the program handles is UTF-8 text: what the user typed, what the data file
// names, what the reports print. These two functions are the only crossings between that text
// and the system's own file names, so an accented or non-Latin folder works on every system
// (a narrow string would be read in the Windows code page).
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace pellmar
