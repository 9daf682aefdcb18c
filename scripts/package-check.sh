#!/usr/bin/env bash
# Checks the packages of scripts/package.sh under Wine, each check one passed
# or failed test:
#  - the exe is stripped and within 1.1 MB, each package within 1 MB; the
#    program needs only Windows' own DLLs; the installer keeps a validator's
#    rules for a per-user package;
#  - the portable zip holds the program, its pictures and the whole guide, and
#    Pendra started from an unpacked folder keeps its data there;
#  - the installer installs per user into %LOCALAPPDATA%\Programs\Pendra;
#    Pendra starts and keeps its data there and is the one to start with
#    Windows; a second build of the same version, then a later build opened
#    as a double-click does (which starts Pendra), each replace it, keeping
#    the data, the settings and the Run value; an older version is refused;
#    the uninstall removes the program and the Run value, not the data.
#
# Sourced by scripts/test.sh, in its Wine prefix and display:
#   pendra_package_check <build folder>   sets PACKAGE_PASSED and PACKAGE_FAILED
# Alone: bash scripts/package-check.sh (a Wine prefix and an Xvfb of its own;
# ends with "N passed, N failed").

# One check: a name, then the command that must succeed.
_pkg_check() {
  local name=$1
  shift
  if "$@"; then
    echo "ok: $name"
    PACKAGE_PASSED=$((PACKAGE_PASSED + 1))
  else
    echo "FAILED: $name"
    PACKAGE_FAILED=$((PACKAGE_FAILED + 1))
  fi
}

# A text value of the registry, or nothing.
_pkg_reg() {
  wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

_pkg_winpath() { wine cmd /c echo "%$1%" </dev/null 2>/dev/null | tr -d '\r'; }

# The installed programs list, as Wine's uninstaller shows it: "code|||name".
_pkg_entries() { wine uninstaller --list </dev/null 2>/dev/null | tr -d '\r' | grep '|||Pendra$'; }

_pkg_entry_is() {  # exactly one entry, of this version, with its uninstall command and icon
  local entries code key icon
  entries=$(_pkg_entries)
  [ "$(printf '%s\n' "$entries" | grep -c .)" -eq 1 ] || { echo "  entries: $entries"; return 1; }
  code=${entries%%|*}
  key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code"
  [ "$(_pkg_reg "$key" DisplayVersion)" = "$1" ] || { echo "  not version $1"; return 1; }
  _pkg_reg "$key" UninstallString | grep -qiF "msiexec.exe /x$code" || { echo "  no uninstall command"; return 1; }
  [ "$(_pkg_reg "$key" InstallLocation)" = "$dir_win\\" ] || { echo "  not installed in $dir_win"; return 1; }
  # The icon is registered with the product, for this user alone.
  icon=$(wine reg query 'HKCU\Software\Microsoft\Installer\Products' /s </dev/null 2>/dev/null |
    tr -d '\r' | sed -n 's/^ *ProductIcon *REG_SZ *//p' | grep -iF "$code")
  [ -n "$icon" ] && [ -f "$(winepath -u "$icon" 2>/dev/null)" ] || { echo "  no icon"; return 1; }
}

_pkg_run_once() { wine "$_pkg_build/win/e2e_tests.exe" --run-once "$1" </dev/null 2>&1 | tr -d '\r'; }

# The files Pendra writes, with their bytes: one line per file.
_pkg_data() {
  local f
  for f in "$1"/*.lst "$1"/*.pnd "$1"/Quick.qnf; do
    [ -f "$f" ] && printf '%s %s\n' "${f##*/}" "$(md5sum <"$f" | cut -c1-32)"
  done
}

_pkg_writes_data_in() {  # Pendra started from a folder keeps its files there
  local dir=$1 win=$2 f
  _pkg_run_once "$win\\Pendra.exe" || return 1
  # A first run writes the tab list, the quick note and the to-do list; the
  # reminder lists wait for a first reminder.
  for f in Tabs.lst Quick.qnf ToDo.lst; do
    [ -f "$dir/$f" ] || { echo "  no $f in $dir"; return 1; }
  done
  [ "$(_pkg_reg 'HKCU\Software\Tavrin Software\Pendra\Current Version' PathName)" = "$win\\Pendra.exe" ]
}

_pkg_imports_only_windows() {
  local dll bad=0
  for dll in $(i686-w64-mingw32-objdump -p "$1" | sed -n 's/.*DLL Name: //p' | tr -d '\r'); do
    case ${dll,,} in
      kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | shell32.dll | ole32.dll | oleaut32.dll | \
        msvcrt.dll | comctl32.dll | comdlg32.dll | winmm.dll | shlwapi.dll | version.dll | uxtheme.dll) ;;
      *) echo "  imports $dll"; bad=1 ;;
    esac
  done
  [ "$bad" -eq 0 ]
}

_pkg_small() {  # file, most bytes
  local size
  size=$(stat -c %s "$1") || return 1
  echo "  $(basename "$1"): $size bytes"
  [ "$size" -le "$2" ]
}

_pkg_stripped() {  # the exe without debug sections, naming the file that has them
  local sections
  sections=$(i686-w64-mingw32-objdump -h "$1") || return 1
  ! printf '%s\n' "$sections" | grep -q ' \.debug_' && printf '%s\n' "$sections" | grep -q ' \.gnu_debuglink' &&
    i686-w64-mingw32-objdump -h "$2" | grep -q ' \.debug_info'
}

# What a Windows Installer validator checks of a package whose every
# component lies in the user's profile: each component is kept by a value
# under HKEY_CURRENT_USER, never by a file (ICE38; for the shortcut's
# component ICE43, so a shortcut that roams to a machine without the
# program is not taken for it installed), and each folder it makes there is
# removed at uninstall once empty (ICE64).
_pkg_msi_rules() {
  local msi=$1 bad=0 component keypath dir keys removed
  keys=$(msiinfo export "$msi" Registry | tr -d '\r' | awk -F'\t' 'NR > 3 && $2 == 1 { print $1 }')
  while read -r component keypath; do
    printf '%s\n' "$keys" | grep -qxF "$keypath" || { echo "  $component is kept by $keypath"; bad=1; }
  done < <(msiinfo export "$msi" Component | tr -d '\r' | awk -F'\t' 'NR > 3 { print $1, $6 }')
  removed=$(msiinfo export "$msi" RemoveFile | tr -d '\r' | awk -F'\t' 'NR > 3 && $3 == "" { print $4 }')
  for dir in $(msiinfo export "$msi" Directory | tr -d '\r' | awk -F'\t' 'NR > 3 { print $1 }'); do
    case $dir in TARGETDIR | *Folder) continue ;; esac  # the system's own
    printf '%s\n' "$removed" | grep -qxF "$dir" || { echo "  the folder $dir stays"; bad=1; }
  done
  [ "$bad" -eq 0 ]
}

_pkg_zip_whole() {  # the program, its pictures, the guide and every picture it shows
  local list picture f
  list=$(unzip -Z1 "$1") || return 1
  printf '%s\n' "$list" | sed 's/^/  /'
  for f in Pendra.exe check.bmp undo.bmp "Pendra Guide.html" "Pendra Guide files/notebook.html"; do
    printf '%s\n' "$list" | grep -qxF "$f" || { echo "  missing $f"; return 1; }
  done
  for picture in $(unzip -p "$1" "Pendra Guide.html" | grep -o 'src="Pendra%20Guide%20files/[^"]*"' |
                   sed 's/src="Pendra%20Guide%20files\///; s/"$//'); do
    printf '%s\n' "$list" | grep -qxF "Pendra Guide files/$picture" || { echo "  missing $picture"; return 1; }
  done
  # Nothing else: no data file, no build leftovers.
  ! printf '%s\n' "$list" | grep -vxE 'Pendra\.exe|check\.bmp|undo\.bmp|Pendra Guide\.html|Pendra Guide files/([a-z0-9-]+\.(png|html))?'
}

_pkg_msi_per_user() {  # no ALLUSERS, and no elevation asked for
  local words
  words=$(msiinfo suminfo "$1" | sed -n 's/^Source: \([0-9]*\).*/\1/p')
  [ $((words & 8)) -ne 0 ] && ! msiinfo export "$1" Property | grep -q '^ALLUSERS'
}

_pkg_msi_version_is_record() {  # the product's and the exe's File row's
  local record
  record=$(strings -el "$2" | grep -A1 -xF FileVersion | sed -n 2p)
  [ -n "$record" ] && [ "$(msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p')" = "$record" ] &&
    [ "$(msiinfo export "$1" File | tr -d '\r' | awk -F'\t' '$1 == "Pendra.exe" { print $5 }')" = "$record" ]
}

_pkg_run() { _pkg_reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' Pendra; }

# The data files of $dir as $before had them, the launcher's place and the Run
# value $run.
_pkg_kept() {
  [ "$(_pkg_data "$dir")" = "$before" ] && [ "$(_pkg_run)" = "$run" ] &&
    [ "$(_pkg_reg 'HKCU\Software\Tavrin Software\Pendra\Tray\Position' Left)" = 400 ]
}

_pkg_gone() {
  local f
  for f in "$@"; do
    [ ! -e "$f" ] || { echo "  still there: $f"; return 1; }
  done
}

pendra_package_check() {
  # A failed step is a failed check, never the end of the caller's run.
  local shell_options=$-
  set +e
  _pkg_build=$1
  PACKAGE_PASSED=0
  PACKAGE_FAILED=0
  local out=$_pkg_build/package-check
  rm -rf "$out"
  mkdir -p "$out"
  # No menu entries or icons of the installed program on the Linux side.
  local overrides=$WINEDLLOVERRIDES
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

  if ! PENDRA_BUILD="$_pkg_build" PENDRA_DIST="$out/dist" bash scripts/package.sh >"$out/package.log" 2>&1; then
    tail -n 20 "$out/package.log"
    _pkg_check "scripts/package.sh builds the packages" false
    export WINEDLLOVERRIDES=$overrides
    [[ $shell_options == *e* ]] && set -e
    return 0
  fi
  local msi zip version old later
  msi=$(ls "$out"/dist/Pendra-*.msi)
  zip=$(ls "$out"/dist/Pendra-*-portable.zip)
  version=${msi##*/Pendra-}
  version=${version%.msi}
  # A later build: the fourth field one up. An older version: one step down
  # in the first three fields.
  local major minor patch build
  IFS=. read -r major minor patch build <<<"$version"
  later=$major.$minor.$patch.$((${build:-0} + 1))
  if [ "$patch" -gt 0 ]; then old=$major.$minor.$((patch - 1))
  elif [ "$minor" -gt 0 ]; then old=$major.$((minor - 1)).0
  else old=$((major - 1)).0.0
  fi
  local name
  for name in same:$version later:$later old:$old; do
    PENDRA_BUILD="$_pkg_build" PENDRA_DIST="$out/${name%%:*}" PENDRA_PACKAGE_VERSION=${name#*:} \
      bash scripts/package.sh >>"$out/package.log" 2>&1
  done
  _pkg_check "packages built: $(basename "$msi"), $(basename "$zip"), a second build of $version, $later and $old" \
    test -s "$out/same/Pendra-$version.msi" -a -s "$out/later/Pendra-$later.msi" -a -s "$out/old/Pendra-$old.msi"
  _pkg_check "Pendra.exe ships stripped, within 1.1 MB, its debug information beside the packages" \
    eval '_pkg_small "$_pkg_build/win/Pendra.exe" $((11 * 1024 * 1024 / 10)) &&
          _pkg_stripped "$_pkg_build/win/Pendra.exe" "$out/dist/Pendra-$version.debug"'
  _pkg_check "the installer is within 1 MB" _pkg_small "$msi" $((1024 * 1024))
  _pkg_check "the zip is within 1 MB" _pkg_small "$zip" $((1024 * 1024))
  _pkg_check "Pendra.exe needs only Windows' own DLLs" _pkg_imports_only_windows "$_pkg_build/win/Pendra.exe"
  _pkg_check "the installer is per user and asks for no administrator" _pkg_msi_per_user "$msi"
  _pkg_check "the installer keeps a validator's rules for the user's profile" _pkg_msi_rules "$msi"
  _pkg_check "the installer's version and its exe's are the program's own ($version)" \
    _pkg_msi_version_is_record "$msi" "$_pkg_build/win/Pendra.exe"

  # The portable zip, unpacked and started as a user would.
  local portable=$out/portable
  wine reg delete 'HKCU\Software\Tavrin Software' /f </dev/null >/dev/null 2>&1
  _pkg_check "the zip holds Pendra.exe, check.bmp, undo.bmp and the whole guide" _pkg_zip_whole "$zip"
  mkdir -p "$portable" && unzip -q "$zip" -d "$portable"
  _pkg_check "Pendra started from the unpacked zip keeps its data beside it" \
    _pkg_writes_data_in "$portable" "$(winepath -w "$portable" | tr -d '\r')"
  wine reg delete 'HKCU\Software\Tavrin Software' /f </dev/null >/dev/null 2>&1

  # The installer, for a user who never had Pendra.
  local dir_win dir menu programs_files
  dir_win="$(_pkg_winpath LOCALAPPDATA)\\Programs\\Pendra"
  dir=$(winepath -u "$dir_win" | tr -d '\r')
  menu="$(winepath -u "$(_pkg_winpath APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs" | tr -d '\r')/Pendra.lnk"
  programs_files=$(winepath -u "$(_pkg_winpath ProgramFiles)" | tr -d '\r')
  rm -rf "$dir"
  _pkg_check "msiexec /i $version /qn installs into %LOCALAPPDATA%\\Programs\\Pendra" \
    eval 'wine msiexec /i "$(winepath -w "$msi")" /qn </dev/null &&
          [ -f "$dir/Pendra.exe" ] && [ -f "$dir/check.bmp" ] && [ -f "$dir/undo.bmp" ] &&
          [ -f "$dir/Pendra Guide.html" ] && [ ! -e "$programs_files/Pendra" ]'
  _pkg_check "the Start menu shortcut and the uninstall entry ($version) exist" \
    eval '[ -f "$menu" ] && strings -a "$menu" | grep -q "Pendra.exe" && _pkg_entry_is "$version"'
  # Start With Windows was on for a copy that is gone.
  wine reg add 'HKCU\Software\Tavrin Software\Pendra\Tray\Start' /v StartWithWindows /d 1 /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Pendra /d 'C:\Gone\Pendra.exe' /f \
    </dev/null >/dev/null 2>&1
  local run="$dir_win\\Pendra.exe"
  _pkg_check "the installed Pendra starts (the silent install started none), keeps its data in its folder and is the one to start with Windows" \
    eval '_pkg_writes_data_in "$dir" "$dir_win" && [ "$(_pkg_run | tr -d \")" = "$run" ]'

  # What the user has by now: a page, a reminder, a moved launcher.
  printf 'A page written before the upgrade\r\n' >"$dir/ABC.pnd"
  printf '11:59:59 PM-Monday--A reminder added before the upgrade\r\n' >"$dir/DayMessage.lst"
  wine reg add 'HKCU\Software\Tavrin Software\Pendra\Tray\Position' /v Left /d 400 /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Tavrin Software\Pendra\Tray\Position' /v Top /d 300 /f </dev/null >/dev/null 2>&1
  local before first
  before=$(_pkg_data "$dir")
  run=$(_pkg_run)
  first=$(_pkg_entries)
  _pkg_check "a second build of $version replaces the first: one entry, a new one, the data, settings and Run value kept" \
    eval 'wine msiexec /i "$(winepath -w "$out/same/Pendra-$version.msi")" /qn </dev/null &&
          _pkg_entry_is "$version" && [ "$(_pkg_entries)" != "$first" ] && [ -f "$dir/Pendra.exe" ] && _pkg_kept'
  _pkg_check "$later, opened as a double-click does, replaces it: one entry, the data, settings and Run value kept" \
    eval 'wine msiexec /i "$(winepath -w "$out/later/Pendra-$later.msi")" </dev/null && _pkg_entry_is "$later" &&
          [ -f "$dir/Pendra.exe" ] && _pkg_kept'
  _pkg_check "Pendra runs after that install, and exits with the reminder, the page and the launcher's place" \
    eval 'wine "$_pkg_build/win/e2e_tests.exe" --close-running </dev/null &&
          grep -q "A reminder added before the upgrade" "$dir/DayMessage.lst" &&
          grep -q "A page written before the upgrade" "$dir/ABC.pnd" &&
          [ "$(_pkg_reg "HKCU\\Software\\Tavrin Software\\Pendra\\Tray\\Position" Top)" = 300 ] &&
          [ "$(_pkg_run)" = "$run" ]'
  _pkg_check "the older $old is refused, $later stays" \
    eval '! wine msiexec /i "$(winepath -w "$out/old/Pendra-$old.msi")" /qn </dev/null && _pkg_entry_is "$later"'

  before=$(_pkg_data "$dir")
  _pkg_check "msiexec /x /qn removes the program, the guide, the shortcut, the entry and the Run value" \
    eval 'wine msiexec /x "$(winepath -w "$out/later/Pendra-$later.msi")" /qn </dev/null &&
          _pkg_gone "$dir/Pendra.exe" "$dir/check.bmp" "$dir/undo.bmp" "$dir/Pendra Guide.html" \
                    "$dir/Pendra Guide files" "$menu" && [ -z "$(_pkg_entries)" ] && [ -z "$(_pkg_run)" ] &&
          ! wine reg query "HKCU\\Software\\Tavrin Software\\Pendra Installer" </dev/null >/dev/null 2>&1'
  _pkg_check "the uninstall keeps every data file and the settings" \
    eval '[ -n "$before" ] && run= && _pkg_kept'

  rm -rf "$dir" "$portable"
  wine reg delete 'HKCU\Software\Tavrin Software' /f </dev/null >/dev/null 2>&1
  export WINEDLLOVERRIDES=$overrides
  [[ $shell_options == *e* ]] && set -e
  return 0
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  cd "$(dirname "$0")/.."
  BUILD=${PENDRA_BUILD:-$PWD/build}
  . scripts/deps.sh
  pendra_install_deps
  { cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake &&
    cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target Pendra e2e_tests; } >/dev/null || exit 1
  export PENDRA_OWN_XVFB=1 PENDRA_WINEPREFIX="${TMPDIR:-/tmp}/pendra-wine-package-$$"
  unset PENDRA_XVFB_PID
  trap '. scripts/wine-stop.sh; rm -rf "$PENDRA_WINEPREFIX"' EXIT
  . scripts/wine-env.sh package || exit 1
  pendra_package_check "$BUILD"
  echo "$PACKAGE_PASSED passed, $PACKAGE_FAILED failed"
  [ "$PACKAGE_FAILED" -eq 0 ]
fi
