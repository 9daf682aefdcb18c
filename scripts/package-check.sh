#!/usr/bin/env bash
# Checks the packages of scripts/package.sh under Wine, each check one passed
# or failed test:
#  - the exe is stripped and within 1.1 MB, names the debug file shipped
#    beside it, which gives the file and line of an address; each package is
#    within 1 MB; the program needs only Windows' own DLLs; the installer
#    keeps a validator's rules for a per-user package, carries the build's
#    version and always puts its exe in place;
#  - the portable zip holds the program, its pictures and the whole guide, and
#    Pendra started from an unpacked folder keeps its data there;
#  - the previous release (tests/package) installed per user into
#    %LOCALAPPDATA%\Programs\Pendra and running with the user's data: this
#    build installed over it with /qn and watched ends it, puts the new exe
#    in place, leaves one entry, keeps the data, settings and Run value, and
#    starts Pendra again; Pendra takes Start With Windows over from a copy
#    that is gone;
#  - a second build of the same version is refused while Pendra shows a
#    reminder, saying why and leaving the installed one whole, and then
#    replaces it, with /qn and watched, as above; an older version is
#    refused; the uninstall ends Pendra and removes the program and the Run
#    value, not the data.
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
  # The icon is registered with the product, for this user alone, and the
  # entry shows Pendra's.
  icon=$(wine reg query 'HKCU\Software\Microsoft\Installer\Products' /s </dev/null 2>/dev/null |
    tr -d '\r' | sed -n 's/^ *ProductIcon *REG_SZ *//p' | grep -iF "$code")
  [ -n "$icon" ] && [ -f "$(winepath -u "$icon" 2>/dev/null)" ] &&
    [ "$(_pkg_reg "$key" DisplayIcon)" = "$dir_win\Pendra.exe,0" ] || { echo "  no icon"; return 1; }
}

# The end-to-end test program's helpers for packages (tests/e2e/e2e_main.cpp),
# and msiexec. Their output goes through a file: a Pendra they leave running
# would hold a pipe open.
_pkg_e2e() {
  local status
  wine "$_pkg_build/win/e2e_tests.exe" "$@" </dev/null >"$_pkg_out/e2e.out" 2>&1
  status=$?
  tr -d '\r' <"$_pkg_out/e2e.out"
  return $status
}
_pkg_msiexec() { wine msiexec "$@" </dev/null >>"$_pkg_out/msiexec.out" 2>&1; }
_pkg_run_once() { _pkg_e2e --run-once "$1"; }

# The installed exe is this one, byte for byte.
_pkg_exe_is() { [ "$(md5sum <"$dir/Pendra.exe")" = "$(md5sum <"$1")" ] || { echo "  another Pendra.exe"; return 1; }; }
# The installed exe is the file that was marked before the install.
_pkg_exe_untouched() { [ "$(stat -c %Y "$dir/Pendra.exe")" = "$(date -d 2001-01-01 +%s)" ]; }

# What the user has: a page, a reminder, a moved launcher, Start With Windows on.
_pkg_user_data() {
  printf 'A page written before the upgrade\r\n' >"$dir/ABC.pnd"
  printf '11:59:59 PM-Monday--A reminder added before the upgrade\r\n' >"$dir/DayMessage.lst"
  wine reg add 'HKCU\Software\Tavrin Software\Pendra\Tray\Position' /v Left /d 400 /f </dev/null >/dev/null 2>&1 &&
    wine reg add 'HKCU\Software\Tavrin Software\Pendra\Tray\Position' /v Top /d 300 /f </dev/null >/dev/null 2>&1 &&
    wine reg add 'HKCU\Software\Tavrin Software\Pendra\Tray\Start' /v StartWithWindows /d 1 /f \
      </dev/null >/dev/null 2>&1 &&
    wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Pendra /d "$exe_win" /f \
      </dev/null >/dev/null 2>&1
}

# An installer's log holds this text (in UTF-16 too: its zero bytes go).
_pkg_log_says() {
  tr -d '\0\r' <"$1" | grep -qF "$2" ||
    { echo "  the log does not say: $2"; return 1; }
}

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
  ! printf '%s\n' "$sections" | grep -q ' \.debug_' &&
    printf '%s\n' "$sections" | grep -q ' \.gnu_debuglink' && strings -a "$1" | grep -qxF "$(basename "$2")" &&
    i686-w64-mingw32-objdump -h "$2" | grep -q ' \.debug_line' ||
    { echo "  $(basename "$1") does not name $(basename "$2"), or that has no lines"; return 1; }
}

# A crash address inside one of Pendra's own functions reads as its file and
# line, as the README tells.
_pkg_lines() {
  local address where
  address=$(i686-w64-mingw32-nm -C "$1" | sed -n 's/^\([0-9a-f]*\) T pendra::TfrmTray::Windows1Click()$/\1/p')
  [ -n "$address" ] || { echo "  no pendra::TfrmTray::Windows1Click in $(basename "$1")"; return 1; }
  where=$(i686-w64-mingw32-addr2line -e "$1" "$(printf '%x' $((0x$address + 4)))")
  echo "  0x$address + 4: $where"
  [[ $where == */app/tray_window_win.cpp:[1-9]* ]]
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

# The product's version is the build's: the version record's first three
# fields and the build number. The exe's File row carries the highest version
# there is, so Windows Installer's version rules never keep an installed exe.
_pkg_msi_versions() {
  local record
  record=$(strings -el "$2" | grep -A1 -xF FileVersion | sed -n 2p)
  [ "${record%.*}" = "${3%.*}" ] &&
    [ "$(msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductVersion\t//p')" = "$3" ] &&
    [ "$(msiinfo export "$1" File | tr -d '\r' | awk -F'\t' '$1 == "Pendra.exe" { print $5 }')" = 65535.65535.65535.65535 ]
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
  _pkg_out=$out
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
  local msi zip version old previous debug
  msi=$(ls "$out"/dist/Pendra-*.msi)
  zip=$(ls "$out"/dist/Pendra-*-portable.zip)
  version=${msi##*/Pendra-}
  version=${version%.msi}
  debug=$out/dist/Pendra-$version.debug
  # The release before this one, as its users have it installed.
  previous=$(ls "$PWD"/tests/package/Pendra-*.msi)
  # An older version: one step down in the first three fields.
  local major minor patch
  IFS=. read -r major minor patch _ <<<"$version"
  if [ "$patch" -gt 0 ]; then old=$major.$minor.$((patch - 1))
  elif [ "$minor" -gt 0 ]; then old=$major.$((minor - 1)).0
  else old=$((major - 1)).0.0
  fi
  local name
  for name in same:$version old:$old; do
    PENDRA_BUILD="$_pkg_build" PENDRA_DIST="$out/${name%%:*}" PENDRA_PACKAGE_VERSION=${name#*:} \
      bash scripts/package.sh >>"$out/package.log" 2>&1
  done
  _pkg_check "packages built: $(basename "$msi"), $(basename "$zip"), a second build of $version and $old" \
    test -s "$out/same/Pendra-$version.msi" -a -s "$out/old/Pendra-$old.msi"
  local shipped=$out/shipped
  mkdir -p "$shipped" && unzip -q -o "$zip" Pendra.exe -d "$shipped"
  _pkg_check "Pendra.exe ships stripped, within 1.1 MB, naming $(basename "$debug"), which gives the file and line of an address" \
    eval '_pkg_small "$shipped/Pendra.exe" $((11 * 1024 * 1024 / 10)) && _pkg_stripped "$shipped/Pendra.exe" "$debug" &&
          _pkg_lines "$debug"'
  _pkg_check "the installer is within 1 MB" _pkg_small "$msi" $((1024 * 1024))
  _pkg_check "the zip is within 1 MB" _pkg_small "$zip" $((1024 * 1024))
  _pkg_check "Pendra.exe needs only Windows' own DLLs" _pkg_imports_only_windows "$shipped/Pendra.exe"
  _pkg_check "the installer is per user and asks for no administrator" _pkg_msi_per_user "$msi"
  _pkg_check "the installer keeps a validator's rules for the user's profile" _pkg_msi_rules "$msi"
  _pkg_check "the installer's version is the build's ($version), its exe always replaces the installed one" \
    _pkg_msi_versions "$msi" "$shipped/Pendra.exe" "$version"

  # The portable zip, unpacked and started as a user would.
  local portable=$out/portable
  wine reg delete 'HKCU\Software\Tavrin Software' /f </dev/null >/dev/null 2>&1
  _pkg_check "the zip holds Pendra.exe, check.bmp, undo.bmp and the whole guide" _pkg_zip_whole "$zip"
  mkdir -p "$portable" && unzip -q "$zip" -d "$portable"
  _pkg_check "Pendra started from the unpacked zip keeps its data beside it" \
    _pkg_writes_data_in "$portable" "$(winepath -w "$portable" | tr -d '\r')"
  wine reg delete 'HKCU\Software\Tavrin Software' /f </dev/null >/dev/null 2>&1

  # The previous release, installed for a user who never had Pendra, with
  # the user's data and Pendra running.
  local dir_win dir menu programs_files exe_win
  dir_win="$(_pkg_winpath LOCALAPPDATA)\\Programs\\Pendra"
  exe_win=$dir_win\\Pendra.exe
  dir=$(winepath -u "$dir_win" | tr -d '\r')
  menu="$(winepath -u "$(_pkg_winpath APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs" | tr -d '\r')/Pendra.lnk"
  programs_files=$(winepath -u "$(_pkg_winpath ProgramFiles)" | tr -d '\r')
  rm -rf "$dir"
  local run="$exe_win" before
  _pkg_check "the previous release, $(basename "$previous"), installs with /qn and runs with the user's data" \
    eval '_pkg_msiexec /i "$(winepath -w "$previous")" /qn && _pkg_run_once "$exe_win" &&
          _pkg_user_data && _pkg_e2e --start "$exe_win"'
  before=$(_pkg_data "$dir")
  _pkg_check "$version with /qn over the running previous release: the new exe, one entry, the data kept, Pendra running again" \
    eval '_pkg_msiexec /i "$(winepath -w "$msi")" /qn && _pkg_exe_is "$shipped/Pendra.exe" &&
          _pkg_entry_is "$version" && _pkg_kept && _pkg_e2e --close-running'
  _pkg_check "$version watched over the running previous release: the new exe, one entry, the shortcut, the data kept, Pendra running again" \
    eval '_pkg_msiexec /i "$(winepath -w "$previous")" /qn && _pkg_e2e --start "$exe_win" &&
          _pkg_msiexec /i "$(winepath -w "$msi")" && _pkg_exe_is "$shipped/Pendra.exe" &&
          [ -f "$dir/check.bmp" ] && [ -f "$dir/undo.bmp" ] && [ -f "$dir/Pendra Guide.html" ] &&
          [ ! -e "$programs_files/Pendra" ] && [ -f "$menu" ] && strings -a "$menu" | grep -q "Pendra.exe" &&
          _pkg_entry_is "$version" && _pkg_kept && _pkg_e2e --close-running'
  _pkg_check "Pendra saved as at Exit: the reminder, the page and the launcher's place are there" \
    eval 'grep -q "A reminder added before the upgrade" "$dir/DayMessage.lst" &&
          grep -q "A page written before the upgrade" "$dir/ABC.pnd" &&
          [ "$(_pkg_reg "HKCU\\Software\\Tavrin Software\\Pendra\\Tray\\Position" Top)" = 300 ]'
  # Start With Windows on for a copy that is gone (moved): the installed one takes it.
  wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Pendra /d 'C:\Gone\Pendra.exe' /f \
    </dev/null >/dev/null 2>&1
  _pkg_check "the installed Pendra keeps its data in its folder and takes Start With Windows over from a copy that is gone" \
    eval '_pkg_writes_data_in "$dir" "$dir_win" && [ "$(_pkg_run | tr -d \")" = "$run" ]'

  # A second build of the same version, while Pendra shows a reminder, then
  # once it was answered.
  local first log=$out/refused.log
  first=$(_pkg_entries)
  touch -d 2001-01-01 "$dir/Pendra.exe"
  _pkg_check "a second build of $version with /qn while Pendra shows a reminder is refused, saying why; the first stays whole and Pendra runs on" \
    eval '_pkg_e2e --start-announcing "$exe_win" &&
          ! _pkg_msiexec /i "$(winepath -w "$out/same/Pendra-$version.msi")" /qn /l*v "$(winepath -w "$log")" &&
          _pkg_log_says "$log" "a reminder is shown and not yet answered" && [ "$(_pkg_entries)" = "$first" ] &&
          _pkg_exe_untouched && [ -f "$dir/check.bmp" ] && [ -f "$dir/Pendra Guide.html" ] && _pkg_e2e --running'
  _pkg_e2e --answer-reminder
  before=$(_pkg_data "$dir")
  _pkg_check "the second build of $version with /qn over the running Pendra: a new exe, one new entry, the data kept, Pendra running again" \
    eval '_pkg_msiexec /i "$(winepath -w "$out/same/Pendra-$version.msi")" /qn && ! _pkg_exe_untouched &&
          _pkg_entry_is "$version" && [ "$(_pkg_entries)" != "$first" ] && _pkg_kept && _pkg_e2e --running'
  first=$(_pkg_entries)
  touch -d 2001-01-01 "$dir/Pendra.exe"
  _pkg_check "the first build of $version watched over the running second: a new exe, one new entry, the data kept, Pendra running again" \
    eval '_pkg_msiexec /i "$(winepath -w "$msi")" && ! _pkg_exe_untouched &&
          _pkg_entry_is "$version" && [ "$(_pkg_entries)" != "$first" ] && _pkg_kept && _pkg_e2e --running'
  _pkg_check "the older $old is refused, $version stays and Pendra runs on" \
    eval '! _pkg_msiexec /i "$(winepath -w "$out/old/Pendra-$old.msi")" /qn && _pkg_entry_is "$version" &&
          _pkg_e2e --running'

  before=$(_pkg_data "$dir")
  # The Run value as the user may have it: quoted, in other letters. The
  # launcher's place as Pendra did not store it: it does so when it ends.
  wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Pendra /d "\"${exe_win^^}\"" /f \
    </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Tavrin Software\Pendra\Tray\Position' /v Left /d 401 /f </dev/null >/dev/null 2>&1
  _pkg_check "msiexec /x /qn ends the running Pendra and removes the program, the guide, the shortcut, the entry and the Run value" \
    eval '_pkg_msiexec /x "$(winepath -w "$msi")" /qn &&
          _pkg_gone "$dir/Pendra.exe" "$dir/check.bmp" "$dir/undo.bmp" "$dir/Pendra Guide.html" \
                    "$dir/Pendra Guide files" "$menu" && [ -z "$(_pkg_entries)" ] && [ -z "$(_pkg_run)" ] &&
          ! wine reg query "HKCU\\Software\\Tavrin Software\\Pendra Installer" </dev/null >/dev/null 2>&1'
  _pkg_check "the uninstall keeps every data file and the settings, Pendra having saved them as at Exit" \
    eval '[ -n "$before" ] && run= && _pkg_kept'

  # A check that failed may have left Pendra running.
  [ "$PACKAGE_FAILED" -eq 0 ] || _pkg_e2e --close-running >/dev/null 2>&1
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
