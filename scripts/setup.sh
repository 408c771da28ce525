#!/usr/bin/env bash
# Installs what building and testing Trivenor needs on Debian 12, and nothing that is already there.
# Safe to run any number of times: when everything is present it only looks and returns.
set -euo pipefail

# ---- Debian packages the build and the tests need. Add new ones here. ----
readonly REQUIRED_PACKAGES=(
  build-essential
  cmake
  ninja-build
  g++
  clang-14
  libclang-rt-14-dev # sanitizer and libFuzzer runtimes for the asan preset
  llvm               # llvm-symbolizer, so sanitizer reports name functions and lines
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  locales
  # The editor: Qt 6 with its German catalogue, and the metric twin of "Courier New" that
  # fontconfig substitutes for the canvas font.
  qt6-base-dev
  qt6-base-dev-tools
  qt6-base-private-dev # the keyboard layout's own key for a key press, as shortcuts match it
  qt6-translations-l10n
  qt6-svg-dev # pictures of a circuit as SVG
  fonts-liberation
  # The desktop entry and the MIME type of circuit files (scripts/install-desktop.sh).
  desktop-file-utils
  shared-mime-info
  xdg-utils
  # The end-to-end test: a private X server, its access cookie, window lookup, screenshots and
  # the pixel checks on them.
  xvfb
  xauth
  xdotool
  x11-utils
  x11-xkb-utils # setxkbmap: the keys are pressed on a German and on a US layout
  imagemagick
  poppler-utils # the printing tests read and render the PDF pages they print
)

# A number-formatting test runs under this locale to prove circuit values ignore it.
readonly REQUIRED_LOCALE="de_DE.UTF-8"

as_root() {
  if [[ ${EUID} -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "setup: need root or sudo to run: $*" >&2
    exit 1
  fi
}

is_installed() {
  # A removed package keeps its entry with status "config-files", so compare the whole word.
  [[ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" == "installed" ]]
}

missing_packages() {
  local package
  for package in "${REQUIRED_PACKAGES[@]}"; do
    is_installed "${package}" || echo "${package}"
  done
}

has_locale() {
  # `locale -a` spells the codeset in its normalised form ("de_DE.utf8").
  local normalised="${REQUIRED_LOCALE%%.*}.utf8"
  locale -a 2>/dev/null | grep -qixF -e "${normalised}" -e "${REQUIRED_LOCALE}"
}

install_packages() {
  local missing
  mapfile -t missing < <(missing_packages)
  if ((${#missing[@]} == 0)); then
    return
  fi
  echo "setup: installing ${missing[*]}"
  # sudo drops the caller's environment, so the variable travels through env.
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q -o DPkg::Lock::Timeout=300
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    -o DPkg::Lock::Timeout=300 "${missing[@]}"
  mapfile -t missing < <(missing_packages)
  if ((${#missing[@]} > 0)); then
    echo "setup: still missing after install: ${missing[*]}" >&2
    exit 1
  fi
}

generate_locale() {
  if has_locale; then
    return
  fi
  echo "setup: generating locale ${REQUIRED_LOCALE}"
  local entry="${REQUIRED_LOCALE} UTF-8"
  local entry_pattern="${entry//./\\.}"
  if grep -qsE "^#[[:space:]]*${entry_pattern}\$" /etc/locale.gen; then
    as_root sed -i -E "s/^#[[:space:]]*(${entry_pattern})\$/\\1/" /etc/locale.gen
  elif ! grep -qsxF "${entry}" /etc/locale.gen; then
    echo "${entry}" | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen
  if ! has_locale; then
    echo "setup: locale ${REQUIRED_LOCALE} is still not available" >&2
    exit 1
  fi
}

install_packages
generate_locale
