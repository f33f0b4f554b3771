#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and those named
# as arguments. Quick when everything is present: one dpkg-query, no network.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libx11-dev
  ghostscript xvfb xdotool x11-apps x11-utils
  hp2xx netpbm openjdk-17-jdk-headless libtiff-tools pngcheck
  # LibreOffice opens a CGM only as an Impress document (Draw alone refuses it); pdftoppm
  # turns its PDF into a raster.
  libreoffice-impress-nogui poppler-utils
  # libwmf and LibreOffice Draw read the Windows metafile back.
  libwmf-bin libreoffice-draw-nogui
  # rsvg-convert, xmllint, qpdf and pdftoppm read the SVG and PDF files.
  librsvg2-bin libxml2-utils qpdf
)

packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "bootstrap: installing ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
