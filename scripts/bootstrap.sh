#!/usr/bin/env bash
# Installs the Debian packages that a make target needs: `run` those that building qh2 and
# the library needs, `test` also the test frameworks and the readers the tests use; further
# arguments name more packages. Quick when everything is present: one dpkg-query, no
# network. Each installed package is reported in one line; apt's own output goes to a log
# that is shown only when the install fails.
set -euo pipefail

run_packages=(cmake ninja-build g++ make zlib1g-dev libdeflate-dev libx11-dev)
test_packages=(
  pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  ghostscript xvfb xdotool x11-apps x11-utils
  hp2xx netpbm openjdk-17-jdk-headless libtiff-tools pngcheck
  # LibreOffice opens a CGM only as an Impress document (Draw alone refuses it); pdftoppm
  # turns its PDF into a raster.
  libreoffice-impress-nogui poppler-utils
  # libwmf and LibreOffice Draw read the Windows metafile back.
  libwmf-bin libreoffice-draw-nogui
  # rsvg-convert, xmllint, qpdf and pdftoppm read the SVG and PDF files.
  librsvg2-bin libxml2-utils qpdf
  # xterm shows the Tektronix stream in its Tek window and the sixel picture as a VT340
  # (ImageMagick's import reads the windows back); ImageMagick and libsixel decode sixels.
  xterm imagemagick libsixel-bin
  # The Fortran module and example; groff and man check the manual page.
  gfortran groff-base man-db
)

case "${1:-}" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *)
    echo "usage: $0 run|test [package ...]" >&2
    exit 2
    ;;
esac
shift
packages+=("$@")

installed() {
  [[ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" == "install ok installed" ]]
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
((${#missing[@]})) || exit 0

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
log=$(mktemp "${TMPDIR:-/tmp}/bootstrap.XXXXXX")
before=$(dpkg-query -W -f='${Package}\n' | wc -l)
if ! { "${sudo_cmd[@]}" apt-get update -qq &&
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
    --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "bootstrap: installing ${missing[*]} failed (apt's output above)" >&2
  exit 1
fi
rm -f "$log"
for p in "${missing[@]}"; do
  echo "bootstrap: installed $p $(dpkg-query -W -f='${Version}' "$p")"
done
after=$(dpkg-query -W -f='${Package}\n' | wc -l)
extra=$((after - before - ${#missing[@]}))
((extra <= 0)) || echo "bootstrap: and $extra packages they depend on"
