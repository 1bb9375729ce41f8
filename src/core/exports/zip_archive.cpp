#include "core/exports/zip_archive.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace pellmar {
namespace {

// 1980-01-01 00:00, the earliest time a zip entry can hold, in MS-DOS form.
constexpr std::uint16_t kFixedTime = 0;
constexpr std::uint16_t kFixedDate = (1 << 5) | 1;
constexpr std::uint16_t kVersion = 20;  // 2.0: deflate
constexpr std::uint16_t kDeflated = 8;
constexpr int kLevel = 6;

void put16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFFU));
  out.push_back(static_cast<char>(value >> 8U));
}

void put32(std::string& out, std::uint32_t value) {
  put16(out, static_cast<std::uint16_t>(value & 0xFFFFU));
  put16(out, static_cast<std::uint16_t>(value >> 16U));
}

std::uint32_t size32(std::size_t size) {
  if (size > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("a workbook entry of 4 GiB or more");
  }
  return static_cast<std::uint32_t>(size);
}

std::uint32_t crcOf(std::string_view data) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes the length as a 32-bit unsigned: long data goes in pieces.
  constexpr std::size_t kPiece = 1U << 30U;
  for (std::size_t at = 0; at < data.size(); at += kPiece) {
    const std::size_t length = std::min(kPiece, data.size() - at);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data() + at), static_cast<uInt>(length));
  }
  return static_cast<std::uint32_t>(crc);
}

// Raw deflate (no zlib header), as zip stores it.
std::string deflated(std::string_view data) {
  z_stream stream{};
  if (deflateInit2(&stream, kLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("zlib could not start");
  }
  std::string out(deflateBound(&stream, static_cast<uLong>(size32(data.size()))), '\0');
  // zlib reads through a non-const pointer but does not write the input.
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);
  const std::size_t written = stream.total_out;
  deflateEnd(&stream);
  if (status != Z_STREAM_END) throw std::runtime_error("zlib could not compress");
  out.resize(written);
  return out;
}

}  // namespace

void ZipArchive::add(std::string_view name, std::string_view contents) {
  const std::string packed = deflated(contents);
  const std::uint32_t crc = crcOf(contents);
  const std::uint32_t offset = size32(entries_.size());
  const auto nameLength = static_cast<std::uint16_t>(name.size());

  put32(entries_, 0x04034b50U);
  put16(entries_, kVersion);
  put16(entries_, 0);  // flags
  put16(entries_, kDeflated);
  put16(entries_, kFixedTime);
  put16(entries_, kFixedDate);
  put32(entries_, crc);
  put32(entries_, size32(packed.size()));
  put32(entries_, size32(contents.size()));
  put16(entries_, nameLength);
  put16(entries_, 0);  // extra field
  entries_ += name;
  entries_ += packed;

  put32(directory_, 0x02014b50U);
  put16(directory_, kVersion);  // made by
  put16(directory_, kVersion);  // needed
  put16(directory_, 0);
  put16(directory_, kDeflated);
  put16(directory_, kFixedTime);
  put16(directory_, kFixedDate);
  put32(directory_, crc);
  put32(directory_, size32(packed.size()));
  put32(directory_, size32(contents.size()));
  put16(directory_, nameLength);
  put16(directory_, 0);  // extra field
  put16(directory_, 0);  // comment
  put16(directory_, 0);  // disk
  put16(directory_, 0);  // internal attributes
  put32(directory_, 0);  // external attributes
  put32(directory_, offset);
  directory_ += name;
  ++count_;
}

std::string ZipArchive::finish() const {
  std::string out = entries_ + directory_;
  put32(out, 0x06054b50U);
  put16(out, 0);  // this disk
  put16(out, 0);  // the directory's disk
  put16(out, count_);
  put16(out, count_);
  put32(out, size32(directory_.size()));
  put32(out, size32(entries_.size()));
  put16(out, 0);  // comment
  return out;
}

}  // namespace pellmar
