# Source this: installs the Debian 12 packages the build and the tests need,
# when some are missing, and generates the German, Japanese and Hindi locales the
# locale and code page tests use.
# Needs root (or sudo) only when something is missing.

_pendra_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null 2>&1; then sudo "$@"
  else echo "deps: need root to run: $*" >&2; return 1
  fi
}

pendra_install_deps() {
  # Elsewhere than on Debian the packages are the user's business.
  command -v dpkg-query >/dev/null 2>&1 || return 0
  local pkgs=(cmake ninja-build g++ g++-mingw-w64-i686 googletest libgtest-dev libbenchmark-dev
              clang libclang-rt-14-dev
              wine wine32:i386 wine64 fonts-wine xvfb xauth x11-utils locales
              cups printer-driver-cups-pdf cups-client libcups2:i386 poppler-utils imagemagick
              wixl msitools cmark-gfm zip unzip)
  local missing=() p
  for p in "${pkgs[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "deps: installing ${missing[*]}" >&2
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      _pendra_sudo dpkg --add-architecture i386
    fi
    # One index that fails to download (a mirror caught mid-sync gives "File
    # has unexpected size") need not hold the packages: the install says what
    # really cannot be had, and its failure still ends the run.
    if ! _pendra_sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q </dev/null; then
      echo "deps: warning: apt-get update reported errors; installing from the package lists there are" >&2
    fi
    _pendra_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
      "${missing[@]}" </dev/null
  fi
}

# True when the locale (de_DE.UTF-8, ja_JP.UTF-8, hi_IN.UTF-8) exists afterwards; a
# missing locale only skips the test pass that needs it.
_pendra_locale() {
  local name=$1 listed=${1%%.*}.utf8
  if locale -a 2>/dev/null | grep -qix "$listed"; then return 0; fi
  command -v locale-gen >/dev/null 2>&1 || return 1
  if [ -w /etc/locale.gen ] || [ "$(id -u)" -ne 0 ]; then
    # locale-gen builds only the locales listed in /etc/locale.gen.
    if ! grep -q "^$name UTF-8" /etc/locale.gen 2>/dev/null; then
      echo "$name UTF-8" | _pendra_sudo tee -a /etc/locale.gen >/dev/null || return 1
    fi
    _pendra_sudo locale-gen >/dev/null 2>&1 || return 1
  fi
  locale -a 2>/dev/null | grep -qix "$listed"
}

pendra_german_locale() { _pendra_locale de_DE.UTF-8; }

# Under ja_JP.UTF-8 Wine runs with the Japanese code page 932 (Shift-JIS).
pendra_japanese_locale() { _pendra_locale ja_JP.UTF-8; }

# Under hi_IN.UTF-8, a locale without an 8-bit code page of its own, Wine
# runs with UTF-8 as the code page (65001), as Windows' "UTF-8 for worldwide
# language support" does.
pendra_utf8_locale() { _pendra_locale hi_IN.UTF-8; }
