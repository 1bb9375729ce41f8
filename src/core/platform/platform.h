#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

// What differs between the systems Pellmar runs on, each behind one function; the code of each
// system is in platform_posix.cpp or platform_windows.cpp.
namespace pellmar::platform {

// The program's arguments after its name, as UTF-8. On Windows `argv` holds them in the
// system's code page, which cannot spell most names, so they are taken from the wide command
// line instead.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Makes a console show the UTF-8 text the program prints (file names with accents) as such.
void useUtf8Console();

// The id of this process, to keep the scratch files of processes running at once apart.
unsigned long processId();

// The SHA-256 digest, in lower-case hexadecimal, of the bytes that `read` hands over: each call
// fills the buffer it is given and returns how many bytes it put there, 0 at the end. The
// system's own cryptography library computes it.
std::string sha256Hex(const std::function<std::size_t(std::span<char>)>& read);

}  // namespace pellmar::platform
