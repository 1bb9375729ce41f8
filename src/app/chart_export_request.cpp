#include "app/chart_export_request.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <utility>

#include "core/report/number_format.h"
#include "core/user_error.h"

namespace pellmar {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr const char* kTitle = "Export chart";

[[noreturn]] void refuse(const std::string& text) {
  throw UserError(kTitle, text, ErrorKind::kInvalidRequest);
}

bool inRange(double value, double low, double high) {
  return std::isfinite(value) && value >= low && value <= high;
}

}  // namespace

std::optional<ChartFormat> chartFormatOf(std::string_view file) {
  const std::size_t dot = file.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  std::string extension(file.substr(dot));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const ChartFormat format :
       {ChartFormat::kPng, ChartFormat::kSvg, ChartFormat::kPdf, ChartFormat::kTiff}) {
    if (extension == chartExtension(format)) return format;
  }
  if (extension == ".tiff") return ChartFormat::kTiff;
  return std::nullopt;
}

const char* chartExtension(ChartFormat format) {
  switch (format) {
    case ChartFormat::kSvg:
      return ".svg";
    case ChartFormat::kPdf:
      return ".pdf";
    case ChartFormat::kTiff:
      return ".tif";
    case ChartFormat::kPng:
      break;
  }
  return ".png";
}

bool isRaster(ChartFormat format) {
  return format == ChartFormat::kPng || format == ChartFormat::kTiff;
}

PixelSize pngPixelSize(const ChartExportRequest& request) {
  const auto pixels = [&request](double mm) { return std::llround(mm / kMmPerInch * request.dpi); };
  return {pixels(request.widthMm), pixels(request.heightMm)};
}

std::string dpiFault(double dpi) {
  if (inRange(dpi, kLowestDpi, kHighestDpi)) return {};
  return "A chart has " + std::to_string(kLowestDpi) + " to " + std::to_string(kHighestDpi) +
         " dots per inch, not " + formatDigits(dpi) + ".";
}

std::string fontSizeFault(double fontPt) {
  if (inRange(fontPt, kSmallestFontPt, kLargestFontPt)) return {};
  return "The text of a chart is " + std::to_string(kSmallestFontPt) + " to " +
         std::to_string(kLargestFontPt) + " pt, not " + formatDigits(fontPt) + " pt.";
}

void validate(const ChartExportRequest& request) {
  if (request.file.empty()) refuse("No file was chosen; the chart was not exported.");
  const std::string mmRange =
      formatDigits(kSmallestChartMm) + " to " + formatDigits(kLargestChartMm) + " mm";
  for (const auto& [name, value] : std::array<std::pair<const char*, double>, 2>{
           {{"width", request.widthMm}, {"height", request.heightMm}}}) {
    if (!inRange(value, kSmallestChartMm, kLargestChartMm)) {
      refuse(std::string("The ") + name + " of a chart is " + mmRange + ", not " +
             formatDigits(value) + " mm.");
    }
  }
  if (std::string fault = dpiFault(request.dpi); !fault.empty()) refuse(fault);
  if (std::string fault = fontSizeFault(request.fontPt); !fault.empty()) refuse(fault);
  const PixelSize pixels = pngPixelSize(request);
  if (isRaster(request.format) && pixels.width * pixels.height > kMostPngPixels) {
    refuse(std::string(request.format == ChartFormat::kTiff ? "A TIFF" : "A PNG") + " of " +
           formatDigits(request.widthMm) + " x " + formatDigits(request.heightMm) + " mm at " +
           std::to_string(request.dpi) + " dpi would have " + std::to_string(pixels.width) + " x " +
           std::to_string(pixels.height) +
           " pixels, more than a picture can hold; choose a smaller size or fewer dots per inch.");
  }
}

}  // namespace pellmar
