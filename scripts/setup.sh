#!/usr/bin/env bash
# Installs the Debian 12 packages Pellmar needs to build, test and benchmark: Qt with its image
# formats plugin (Export chart writes TIFF through it), the header-only
# libraries Boost.Math, nlohmann's JSON and CLI11, OpenSSL's libcrypto for SHA-256, Clang with its
# sanitizer and fuzzer runtimes for the sanitizer build, llvm for readable stack traces,
# clang-tidy, the mingw-w64 cross compiler and wine for the Windows build and its tests, and
# what the Debian package is made and checked with (dpkg-dev and file for its dependencies,
# help2man for the manual page, the desktop entry's and the metainfo's validators), and the fonts
# a lab's desktop has: the desktop tests lay their widgets out in DejaVu Sans whatever else is
# installed, and must pass beside the Noto fonts that most desktops bring.
# Does nothing when every package is already installed.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libgl-dev qt6-image-formats-plugins
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libboost-math-dev nlohmann-json3-dev libcli11-dev libssl-dev zlib1g-dev libz-mingw-w64-dev
  python3-openpyxl locales
  clang-format time
  clang libclang-rt-14-dev llvm
  clang-tidy
  g++-mingw-w64-x86-64-posix wine wine64
  dpkg-dev file help2man desktop-file-utils appstream
  fonts-dejavu-core fonts-noto-mono fonts-noto-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The workbook test writes under a German locale, whose decimal comma must not reach the file.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the locale de_DE.UTF-8"
  $sudo sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  $sudo locale-gen
fi
