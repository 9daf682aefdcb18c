# Source this: installs the Debian 12 packages the build and the tests need,
# when some are missing, and generates the German locale the locale tests use.
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
              wine wine32:i386 wine64 xvfb xauth x11-utils locales
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
    _pendra_sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q </dev/null
    _pendra_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
      "${missing[@]}" </dev/null
  fi
}

# True when de_DE.UTF-8 exists afterwards; a missing locale only skips the
# German test pass.
pendra_german_locale() {
  if locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then return 0; fi
  command -v locale-gen >/dev/null 2>&1 || return 1
  if [ -w /etc/locale.gen ] || [ "$(id -u)" -ne 0 ]; then
    if ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
      echo 'de_DE.UTF-8 UTF-8' | _pendra_sudo tee -a /etc/locale.gen >/dev/null || return 1
    fi
    _pendra_sudo locale-gen >/dev/null 2>&1 || return 1
  fi
  locale -a 2>/dev/null | grep -qix 'de_DE.utf8'
}
