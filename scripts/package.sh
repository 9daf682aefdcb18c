#!/usr/bin/env bash
# Builds Pendra.exe and packs it for Windows users into dist/:
#   Pendra-<version>.msi           per-user installer (into %LOCALAPPDATA%\Programs\Pendra)
#   Pendra-<version>-portable.zip  Pendra.exe, its two pictures and the guide
#   Pendra-<version>.debug         the debug information the shipped exe lacks, for
#                                  reading a crash address (addr2line -e); the
#                                  shipped exe names this file
# The version says which build this is: the first three fields of the
# FileVersion of the program's own version record (res/Pendra.rc), then the
# build number, which counts the commits that lead to the build. The
# installed programs list shows it; the about box shows the version record.
# Each package must stay within 1 MB, the exe within 1.1 MB.
#
# Environment: PENDRA_BUILD (build folder, default ./build), PENDRA_JOBS,
# PENDRA_DIST (output folder, default ./dist), PENDRA_BUILD_NUMBER (instead
# of the count of commits). PENDRA_PACKAGE_VERSION packs the same program
# under another version number, which the upgrade checks
# (scripts/package-check.sh) use to make a later and an older installer.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=$(realpath -m "${PENDRA_BUILD:-$ROOT/build}")
DIST=$(realpath -m "${PENDRA_DIST:-$ROOT/dist}")
LIMIT=$((1024 * 1024))
EXE_LIMIT=$((11 * 1024 * 1024 / 10))

. scripts/deps.sh
pendra_install_deps

fail() { echo "package: $*" >&2; exit 1; }

# The version record's FileVersion, checked against its fixed part.
RECORD=$(sed -n 's/^ *VALUE "FileVersion", "\([0-9.]*\)\\0"$/\1/p' res/Pendra.rc)
FIXED=$(sed -n 's/^FILEVERSION \([0-9, ]*\)$/\1/p' res/Pendra.rc | tr -d ' ' | tr , .)
[ -n "$RECORD" ] || fail "no FileVersion in res/Pendra.rc"
[ "$RECORD" = "$FIXED" ] || fail "res/Pendra.rc: FileVersion $RECORD differs from FILEVERSION $FIXED"
BUILD_NUMBER=${PENDRA_BUILD_NUMBER:-$(git rev-list --count HEAD 2>/dev/null || echo 0)}
IFS=. read -r MAJOR MINOR PATCH _ <<<"$RECORD"
VERSION=${PENDRA_PACKAGE_VERSION:-$MAJOR.$MINOR.$PATCH.$BUILD_NUMBER}
# Windows Installer takes major.minor.build (at most 255.255.65534 here, so
# that a next one exists) and a fourth field of at most 65535, which it
# ignores when it compares versions; the installer replaces any Pendra below
# the next three-field version (res/Pendra.wxs).
IFS=. read -r MAJOR MINOR PATCH FOURTH <<<"$VERSION"
[ "${MAJOR:-256}" -le 255 ] && [ "${MINOR:-256}" -le 255 ] && [ "${PATCH:-65535}" -le 65534 ] &&
  [ "${FOURTH:-0}" -le 65535 ] || fail "version $VERSION does not fit a Windows Installer version"
NEXT_VERSION=$MAJOR.$MINOR.$((PATCH + 1))

echo "== build Pendra.exe"
mkdir -p "$BUILD"
LOG=$BUILD/build-package.log
{ cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake &&
  cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target Pendra PendraSetup; } >"$LOG" 2>&1 ||
  { tail -n 40 "$LOG"; fail "build failed (log: $LOG)"; }

# The files to ship, and the installer's sources beside them (wixl finds a
# file relative to the source that names it).
FILES=$BUILD/package/$VERSION
rm -rf "$FILES"
mkdir -p "$FILES" "$DIST"
cp "$BUILD/win/Pendra.exe" "$BUILD/win/PendraSetup.dll" res/check.bmp res/undo.bmp res/Pendra.ico \
  res/Pendra.wxs "$FILES/"
# The debug information goes out under the build's name, and the shipped exe
# names that file (with its checksum), so gdb and addr2line find it beside it.
DEBUG=$DIST/Pendra-$VERSION.debug
cp "$BUILD/win/Pendra.debug" "$DEBUG"
i686-w64-mingw32-objcopy --remove-section=.gnu_debuglink "$FILES/Pendra.exe" &&
  i686-w64-mingw32-objcopy --add-gnu-debuglink="$DEBUG" "$FILES/Pendra.exe" ||
  fail "cannot make Pendra.exe name $(basename "$DEBUG")"

GUIDE_DIR="Pendra Guide files"
echo "== guide"
bash scripts/guide.sh "$FILES" || fail "cannot make the guide"

# The guide folder's files, as a fragment of the installer.
guide_fragment() {
  local f n=0
  printf '<?xml version="1.0" encoding="utf-8"?>\n<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">\n'
  printf '  <Fragment>\n    <DirectoryRef Id="GUIDEDIR">\n'
  printf '      <Component Id="GuidePictures" Guid="3EA71C83-B3FC-4040-B4A1-9C54FC28CD09">\n'
  printf '        <RegistryValue Root="HKCU" Key="Software\\Tavrin Software\\Pendra Installer" Name="GuidePictures" Type="integer" Value="1" KeyPath="yes"/>\n'
  printf '        <RemoveFolder Id="RemoveGuideFolder" On="uninstall"/>\n'
  for f in "$FILES/$GUIDE_DIR"/*; do
    n=$((n + 1))
    printf '        <File Id="guide%d" Name="%s" Source="%s/%s"/>\n' "$n" "${f##*/}" "$GUIDE_DIR" "${f##*/}"
  done
  printf '      </Component>\n    </DirectoryRef>\n  </Fragment>\n</Wix>\n'
}

MSI=$DIST/Pendra-$VERSION.msi
ZIP=$DIST/Pendra-$VERSION-portable.zip
echo "== $MSI"
guide_fragment >"$FILES/guide.wxs"
rm -f "$MSI"
wixl -a x86 -D Version="$VERSION" -D NextVersion="$NEXT_VERSION" -o "$MSI" "$FILES/Pendra.wxs" \
  "$FILES/guide.wxs" 2>&1 | grep -v 'unimplemented' || true
[ -s "$MSI" ] || fail "wixl made no installer"
# wixl leaves a file's version out. Windows Installer keeps an installed file
# whose version is not below the packaged one's, and every build's version
# record is the same: the exe's row carries the highest version there is, so
# the packaged exe always replaces the installed one.
msibuild "$MSI" -q "UPDATE \`File\` SET \`Version\` = '65535.65535.65535.65535' WHERE \`File\` = 'Pendra.exe'" ||
  fail "cannot give Pendra.exe its version in the installer"

echo "== $ZIP"
rm -f "$ZIP"
(cd "$FILES" && zip -q -9 -r "$ZIP" Pendra.exe check.bmp undo.bmp "Pendra Guide.html" "$GUIDE_DIR")

for f in "$MSI" "$ZIP" "$FILES/Pendra.exe"; do
  size=$(stat -c %s "$f")
  echo "$(basename "$f"): $size bytes ($(( (size + 1023) / 1024 )) KB)"
done
[ "$(stat -c %s "$FILES/Pendra.exe")" -le "$EXE_LIMIT" ] || fail "Pendra.exe is over 1.1 MB"
for f in "$MSI" "$ZIP"; do
  [ "$(stat -c %s "$f")" -le "$LIMIT" ] || fail "$(basename "$f") is over 1 MB"
done
