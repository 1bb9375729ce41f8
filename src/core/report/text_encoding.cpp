#include "core/report/text_encoding.h"

#include <array>

namespace pellmar {
namespace {

constexpr unsigned kReplacement = 0xFFFD;

void appendUtf8(unsigned code, std::string& out) {
  const auto byte = [&](unsigned value) { out += static_cast<char>(value); };
  if (code < 0x80) {
    byte(code);
  } else if (code < 0x800) {
    byte(0xC0 | (code >> 6));
    byte(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    byte(0xE0 | (code >> 12));
    byte(0x80 | ((code >> 6) & 0x3F));
    byte(0x80 | (code & 0x3F));
  } else {
    byte(0xF0 | (code >> 18));
    byte(0x80 | ((code >> 12) & 0x3F));
    byte(0x80 | ((code >> 6) & 0x3F));
    byte(0x80 | (code & 0x3F));
  }
}

// Windows-1252 bytes 0x80 .. 0x9F; the five it leaves undefined keep their own code.
constexpr std::array<unsigned, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The length of the valid UTF-8 sequence at the start of `text`, 0 when none starts there.
std::size_t utf8SequenceLength(std::string_view text) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned lead = at(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned low = 0x80;
  unsigned high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  if (at(1) < low || at(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (at(i) < 0x80 || at(i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

DetectedEncoding detectEncoding(std::string_view firstBytes) {
  if (firstBytes.starts_with("\xFF\xFE")) return {TextEncoding::kUtf16LittleEndian, 2};
  if (firstBytes.starts_with("\xFE\xFF")) return {TextEncoding::kUtf16BigEndian, 2};
  // Text of the Latin script in UTF-16 has a NUL byte in every other place; no text file of
  // another kind holds NUL bytes at all, let alone in such a pattern.
  const std::string_view sample = firstBytes.substr(0, kEncodingSampleSize);
  std::size_t pairs = 0;
  std::size_t nulSecond = 0;
  std::size_t nulFirst = 0;
  for (std::size_t i = 0; i + 1 < sample.size(); i += 2) {
    ++pairs;
    if (sample[i] != '\0' && sample[i + 1] == '\0') ++nulSecond;
    if (sample[i] == '\0' && sample[i + 1] != '\0') ++nulFirst;
  }
  if (pairs >= 2 && (2 * nulSecond >= pairs || 2 * nulFirst >= pairs)) {
    return {TextEncoding::kUtf16WithoutMark, 0};
  }
  return {};
}

void Utf16Decoder::decode(std::string_view bytes, std::string& utf8) {
  std::size_t i = 0;
  if (pendingByte_ && !bytes.empty()) {
    const unsigned first = *pendingByte_;
    const unsigned second = static_cast<unsigned char>(bytes[0]);
    pendingByte_.reset();
    appendUnit(bigEndian_ ? (first << 8) | second : (second << 8) | first, utf8);
    i = 1;
  }
  for (; i + 1 < bytes.size(); i += 2) {
    const unsigned first = static_cast<unsigned char>(bytes[i]);
    const unsigned second = static_cast<unsigned char>(bytes[i + 1]);
    appendUnit(bigEndian_ ? (first << 8) | second : (second << 8) | first, utf8);
  }
  if (i < bytes.size()) pendingByte_ = static_cast<unsigned char>(bytes[i]);
}

void Utf16Decoder::appendUnit(unsigned unit, std::string& utf8) {
  if (pendingHighSurrogate_) {
    const unsigned high = *pendingHighSurrogate_;
    pendingHighSurrogate_.reset();
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      appendUtf8(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00), utf8);
      return;
    }
    appendUtf8(kReplacement, utf8);
  }
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    pendingHighSurrogate_ = unit;
  } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
    appendUtf8(kReplacement, utf8);
  } else {
    appendUtf8(unit, utf8);
  }
}

void Utf16Decoder::finish(std::string& utf8) {
  if (pendingByte_ || pendingHighSurrogate_) appendUtf8(kReplacement, utf8);
  pendingByte_.reset();
  pendingHighSurrogate_.reset();
}

std::optional<std::string> decodeFileText(std::string bytes) {
  const DetectedEncoding detected = detectEncoding(bytes);
  switch (detected.encoding) {
    case TextEncoding::kBytes:
      return bytes;
    case TextEncoding::kUtf16WithoutMark:
      return std::nullopt;
    case TextEncoding::kUtf16LittleEndian:
    case TextEncoding::kUtf16BigEndian:
      break;
  }
  Utf16Decoder decoder(detected.encoding == TextEncoding::kUtf16BigEndian);
  std::string text;
  text.reserve(bytes.size() / 2);
  decoder.decode(std::string_view(bytes).substr(detected.markLength), text);
  decoder.finish(text);
  return text;
}

std::string fileNameText(std::string_view text) {
  std::string name;
  name.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = utf8SequenceLength(text);
    if (length > 0) {
      name.append(text.substr(0, length));
      text.remove_prefix(length);
      continue;
    }
    const auto byte = static_cast<unsigned char>(text.front());
    appendUtf8(byte < 0xA0 ? kWindows1252High[byte - 0x80U] : byte, name);
    text.remove_prefix(1);
  }
  return name;
}

std::string echoedField(std::string_view field) {
  constexpr int kShownCharacters = 40;
  std::string shown;
  int characters = 0;
  const auto escaped = [&](unsigned code) {
    constexpr const char* kHex = "0123456789ABCDEF";
    shown += "\\x";
    shown += kHex[code >> 4];
    shown += kHex[code & 0xF];
  };
  while (!field.empty()) {
    if (characters == kShownCharacters) {
      shown += "...";
      break;
    }
    ++characters;
    const auto byte = static_cast<unsigned char>(field.front());
    const std::size_t length = utf8SequenceLength(field);
    if (length == 1) {
      if (byte < 0x20 || byte == 0x7F) {
        escaped(byte);
      } else {
        shown += field.front();
      }
    } else if (length == 2 && byte == 0xC2 && static_cast<unsigned char>(field[1]) < 0xA0) {
      escaped(static_cast<unsigned char>(field[1]));  // a C1 control character
    } else if (length > 1) {
      shown.append(field.substr(0, length));
    } else if (byte < 0xA0) {
      escaped(byte);  // read as a C1 control character by some terminals
    } else {
      shown += field.front();
    }
    field.remove_prefix(length > 0 ? length : 1);
  }
  return shown;
}

}  // namespace pellmar
