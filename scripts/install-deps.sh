#!/usr/bin/env bash
# Installs every package the build, the tests and the runs need, from Debian's archive by name.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  libgtest-dev libgmock-dev googletest
  qt6-base-dev
  libreoffice-writer libreoffice-dev libreoffice-dev-common
  # Runs the line count inside the office, one call instead of one a line.
  libreoffice-script-provider-python
  libacl1-dev libcap-dev zlib1g-dev
  # The spelling count: the library and the dictionaries the office checks with.
  libhunspell-dev hunspell-en-us hunspell-en-gb hunspell-en-ca hunspell-en-au hunspell-en-za
  procps bc
  # desktop-file-validate and groff, with which the install test checks the desktop entry and
  # the man pages.
  desktop-file-utils groff-base
  # getfacl and getfattr, with which the tests compare outputs' metadata with their sources.
  acl attr
  # Word documents name Times New Roman, Arial, Courier New, Calibri and Cambria: these faces
  # have the same widths, so the office lays documents out with Word's line and page breaks.
  fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea
  # One face for Chinese, Japanese kana and Korean text (16 MB; Noto CJK, at 90 MB, breaks the
  # same pages): without it such text falls back to boxes of the wrong height.
  fonts-wqy-zenhei
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# The Writer UI files are needed (the office aborts on documents with comments and on HTML input
# without them); recommends would pull in a desktop's worth of packages.
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
