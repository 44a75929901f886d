#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that every file is
# where the desktop looks for it, that the desktop entry names the installed
# program and passes desktop-file-validate, and that the file types reached
# the prefix's MIME database.
set -u
build=$1
prefix=$(mktemp -d)/prefix\ with\ blank
trap 'rm -rf "$(dirname "$prefix")"' EXIT
fail() { echo "$*"; exit 1; }
log=$(cmake --install "$build" --prefix "$prefix" 2>&1) || fail "cmake --install failed: $log"
for file in bin/quenzario share/applications/quenzario.desktop share/mime/packages/quenzario.xml \
            share/icons/hicolor/scalable/apps/quenzario.svg share/quenzario/help/introduction.htm \
            "share/quenzario/help/Drive Info.htm" share/quenzario/help/settings.htm share/quenzario/help/support.htm; do
  [ -f "$prefix/$file" ] || fail "missing: $file"
done
[ -x "$prefix/bin/quenzario" ] || fail "bin/quenzario is not executable"
entry=$prefix/share/applications/quenzario.desktop
grep -qxF "Exec=\"$prefix/bin/quenzario\" %f" "$entry" || fail "Exec does not name the installed program: $(grep ^Exec "$entry")"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (scripts/deps.sh installs it)"
desktop-file-validate "$entry" || fail "desktop-file-validate refused the desktop entry"
if command -v update-mime-database >/dev/null; then
  for type in x-quenzario-qnz x-quenzario-qnzx x-ibg-graph x-mbg-graph; do
    [ -f "$prefix/share/mime/application/$type.xml" ] || fail "the MIME database has no application/$type"
  done
  grep -q "application/x-quenzario-qnzx:\*\.qnzx" "$prefix/share/mime/globs" || fail "no glob for .qnzx"
fi
# A plain prefix gets a plain Exec.
plain=$(dirname "$prefix")/plain
log=$(cmake --install "$build" --prefix "$plain" 2>&1) || fail "cmake --install failed: $log"
grep -qxF "Exec=$plain/bin/quenzario %f" "$plain/share/applications/quenzario.desktop" || fail "plain Exec wrong"
echo "installed layout ok"
