#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pellmar {

// PNG and TIFF (LZW-compressed) are pictures at a dpi; SVG and PDF drawings of the printed size.
enum class ChartFormat { kPng, kSvg, kPdf, kTiff };

// A chart written for a paper: its file and format, its printed size in millimetres, the dots
// per inch of a PNG and the size of its text in points at that printed size.
struct ChartExportRequest {
  std::string file;
  ChartFormat format = ChartFormat::kPng;
  double widthMm = 85;
  double heightMm = 60;
  int dpi = 600;
  int fontPt = 8;
  // Shades of grey, the curves told apart by their line styles, for a journal printed in black.
  bool greyscale = false;
};

// The sizes journals ask for.
struct ChartSizePreset {
  const char* name;
  double widthMm;
  double heightMm;
};
inline constexpr ChartSizePreset kOneColumn{"One column", 85, 60};
inline constexpr ChartSizePreset kTwoColumns{"Two columns", 175, 110};

// The limits a request is checked against.
inline constexpr double kSmallestChartMm = 10;
inline constexpr double kLargestChartMm = 500;
inline constexpr int kLowestDpi = 72;
inline constexpr int kHighestDpi = 1200;
inline constexpr int kSmallestFontPt = 4;
inline constexpr int kLargestFontPt = 36;
inline constexpr long long kMostPngPixels = 100'000'000;

// The format a file name's extension gives (".png", ".svg", ".pdf", in any case).
std::optional<ChartFormat> chartFormatOf(std::string_view file);
// The extension of a format, with its dot.
const char* chartExtension(ChartFormat format);

// Whether the format is a picture of pixels (PNG, TIFF), drawn at a dpi.
bool isRaster(ChartFormat format);

// The pixels of a PNG across and down: the printed size in inches times the dots per inch,
// rounded.
struct PixelSize {
  long long width;
  long long height;
};
PixelSize pngPixelSize(const ChartExportRequest& request);

// Why dots per inch or a font size of this value, as given, cannot be: "" when they can.
std::string dpiFault(double dpi);
std::string fontSizeFault(double fontPt);

// Refuses a request without a file, with sizes, dots per inch or a font size out of range, or
// a PNG of more pixels than a picture can hold.
void validate(const ChartExportRequest& request);

}  // namespace pellmar
