#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace pellmar {

// What a path names, before a reader opens it: only a regular file (or a link to one) is read. A
// folder would read as an empty file, and a named pipe or a device could keep the reader waiting
// for ever.
struct PathContents {
  bool exists = false;
  bool regularFile = false;
  std::string description;  // what stands there otherwise: "a folder", "a named pipe", ...
};
PathContents inspectPath(const std::string& path);

// One input file read whole: the path as the user gave it and its bytes, with their SHA-256.
struct InputFile {
  std::string path;
  std::string bytes;
  std::string sha256;
};

// Where the analysis gets its input files from. Every file is opened through it, and it counts
// how often each path was opened, so that a test can see that a run reads every input once.
class InputFileReader {
 public:
  // Reads the whole file at `path` (UTF-8). A file that cannot be opened or read raises a
  // UserError titled `title` with the text "The file <path> cannot be read.", and something
  // other than a file says what it is; either ends only the command.
  InputFile read(const std::string& path, std::string_view title);
  // Opens the file at `path` for reading in blocks, for a file too large to hold whole (a
  // samples file); its faults as read()'s.
  std::unique_ptr<std::istream> open(const std::string& path, std::string_view title);

  // Opens `path` now, so that a file that cannot be read is found before any work is done; the
  // next read() or open() of the path takes the file opened here.
  void openAhead(const std::string& path, std::string_view title);

  // How often `path` was opened, as given.
  [[nodiscard]] int opens(const std::string& path) const;

 private:
  std::unique_ptr<std::istream> openFile(const std::string& path, std::string_view title);

  std::map<std::string, int> opens_;
  std::map<std::string, std::unique_ptr<std::istream>> openedAhead_;
};

}  // namespace pellmar
