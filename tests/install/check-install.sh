#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the help pages, man pages, desktop
# entry and icons land where the desktop and man(1) look, that the man pages render without
# warnings and that the desktop entry validates. Usage: check-install.sh <build dir>
set -euo pipefail
build="$1"
prefix="$(mktemp -d "${TMPDIR:-/tmp}/kelvara-install-XXXXXX")"
trap 'rm -rf "$prefix"' EXIT

if ! command -v desktop-file-validate >/dev/null 2>&1; then
  echo "SKIP: desktop-file-validate is missing (scripts/install-deps.sh installs desktop-file-utils)"
  exit 77
fi

cmake --install "$build" --prefix "$prefix" >/dev/null

failed=0
expect() {
  if [ ! -s "$prefix/$1" ]; then
    echo "missing after install: $1"
    failed=1
  fi
}
for program in kelvara kelvara-batch kelvara-wsconv kelvara-wc; do
  expect "bin/$program"
done
for page in index.html UserGuide.html Configuration.html ParamSel.html PageSetup.html \
  ParagraphSetup.html FontSetup.html kelvara.css; do
  expect "share/kelvara/Help/$page"
done
expect share/man/man1/kelvara.1
expect share/man/man1/kelvara-batch.1
expect share/applications/kelvara.desktop
expect share/icons/hicolor/scalable/apps/kelvara.svg
expect share/icons/hicolor/48x48/apps/kelvara.png
expect share/icons/hicolor/256x256/apps/kelvara.png

# The installed program finds the pages where it looks: <bindir>/../share/kelvara/Help.
if [ ! -d "$prefix/bin/../share/kelvara/Help" ]; then
  echo "help folder not beside bin/ as ../share/kelvara/Help"
  failed=1
fi

for page in "$prefix"/share/man/man1/*.1; do
  warnings="$(groff -ww -man -z "$page" 2>&1)" || failed=1
  if [ -n "$warnings" ]; then
    echo "$(basename "$page"): groff warnings:"
    echo "$warnings"
    failed=1
  fi
  if command -v man >/dev/null 2>&1; then
    warnings="$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)" || failed=1
    if [ -n "$warnings" ]; then
      echo "$(basename "$page"): man warnings:"
      echo "$warnings"
      failed=1
    fi
  fi
done

if ! desktop-file-validate "$prefix/share/applications/kelvara.desktop"; then
  failed=1
fi
# The entry's Icon= names the installed icon, its Exec= the installed program.
grep -qx 'Icon=kelvara' "$prefix/share/applications/kelvara.desktop" || {
  echo "desktop entry does not name the kelvara icon"
  failed=1
}
grep -qx 'Exec=kelvara' "$prefix/share/applications/kelvara.desktop" || {
  echo "desktop entry does not start kelvara"
  failed=1
}

# Every page the help pages link to is installed with them.
for page in "$prefix"/share/kelvara/Help/*.html; do
  for target in $(grep -o 'href="[^"#]*' "$page" | sed 's/^href="//' | sort -u); do
    if [ -n "$target" ] && [ ! -e "$prefix/share/kelvara/Help/$target" ]; then
      echo "$(basename "$page") links to missing $target"
      failed=1
    fi
  done
done

exit "$failed"
