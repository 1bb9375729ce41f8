#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pellmar {

// How the bytes of a text file spell its characters. Pellmar reads UTF-8 and the 8-bit "ANSI"
// text of older editors as bytes, and UTF-16 (what Windows Notepad saves as "Unicode") when it
// starts with a byte-order mark. UTF-16 without one is recognised by its NUL bytes, so that the
// user can be told what to do instead of being shown invisible characters.
enum class TextEncoding { kBytes, kUtf16LittleEndian, kUtf16BigEndian, kUtf16WithoutMark };

// The encoding of a file that begins with `firstBytes` (the more of them, up to
// kEncodingSampleSize, the surer), and how many bytes its byte-order mark takes.
struct DetectedEncoding {
  TextEncoding encoding = TextEncoding::kBytes;
  std::size_t markLength = 0;
};
inline constexpr std::size_t kEncodingSampleSize = 512;
DetectedEncoding detectEncoding(std::string_view firstBytes);

// Turns UTF-16 into UTF-8 a block at a time: a character split between two blocks is completed
// by the next one. What is not UTF-16 (a lone surrogate, an odd last byte) becomes U+FFFD.
class Utf16Decoder {
 public:
  explicit Utf16Decoder(bool bigEndian) : bigEndian_(bigEndian) {}
  // Appends the text of `bytes` to `utf8`.
  void decode(std::string_view bytes, std::string& utf8);
  // Appends what is left over at the end of the file.
  void finish(std::string& utf8);

 private:
  void appendUnit(unsigned unit, std::string& utf8);

  bool bigEndian_;
  std::optional<unsigned char> pendingByte_;
  std::optional<unsigned> pendingHighSurrogate_;
};

// The text of a whole file: UTF-16 with a byte-order mark as UTF-8, every other file's bytes as
// they are; nullopt for UTF-16 without a mark.
std::optional<std::string> decodeFileText(std::string bytes);

// What readers say of a UTF-16 file without a byte-order mark, after "The file" or its name.
inline constexpr std::string_view kUtf16WithoutMarkMessage =
    "is saved as UTF-16 text without a byte-order mark, which cannot be read. Please save it "
    "as UTF-8 or ANSI text.";

// Text that goes into a file name: its valid UTF-8 as it is, and every other byte read as
// Windows-1252 (the "ANSI" text of most files that are not UTF-8), so that the name is UTF-8,
// which every system accepts.
std::string fileNameText(std::string_view text);

// A field as a message quotes it: at most its first 40 characters, then "...", with control
// characters written as \xNN, so that neither a huge field nor escape sequences reach the
// screen.
std::string echoedField(std::string_view field);

}  // namespace pellmar
