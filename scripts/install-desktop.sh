#!/usr/bin/env bash
# Makes the editor the current user's program for circuit files: a desktop entry, the MIME type
# application/x-trivenor for *.trv and its icon, under ~/.local/share. A double-click on a .trv
# file in the file manager then opens it in the editor.
#
#   scripts/install-desktop.sh [EDITOR]
#
# EDITOR (default build/default/src/shell/trivenor) is the program the entry starts. Without the
# desktop tools, or on a machine without a desktop, the files are still put in place and the
# script says what it could not do; it never fails because of that.
set -uo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

EDITOR=$(realpath -m "${1:-build/default/src/shell/trivenor}")
readonly EDITOR
readonly DATA=${XDG_DATA_HOME:-${HOME}/.local/share}
readonly RESOURCES=resources/desktop

note() {
  echo "install-desktop: $*" >&2
}

skipped=0

# Runs a desktop tool when it is there; a missing or failing one is only noted.
try_tool() {
  if ! command -v "$1" >/dev/null 2>&1; then
    note "$1 is not installed (scripts/setup.sh installs it), skipped"
  elif ! "$@" >/dev/null 2>&1; then
    note "\"$*\" failed (no desktop?), skipped"
  else
    return 0
  fi
  skipped=$((skipped + 1))
}

install_files() {
  local icons=${DATA}/icons/hicolor/64x64
  mkdir -p "${DATA}/applications" "${DATA}/mime/packages" "${icons}/apps" "${icons}/mimetypes" \
    2>/dev/null || return 1
  # The entry names the editor by its absolute path, which sed must take literally.
  local replacement
  replacement=$(printf '%s' "${EDITOR}" | sed 's/[\\|&]/\\&/g')
  sed "s|@TRIVENOR_EXECUTABLE@|${replacement}|g" "${RESOURCES}/trivenor.desktop.in" \
    >"${DATA}/applications/trivenor.desktop" &&
    cp "${RESOURCES}/trivenor-mime.xml" "${DATA}/mime/packages/trivenor.xml" &&
    cp "${RESOURCES}/trivenor.png" "${icons}/apps/trivenor.png" &&
    cp "${RESOURCES}/trivenor.png" "${icons}/mimetypes/application-x-trivenor.png"
}

if ! install_files; then
  note "could not write to ${DATA}; the editor still runs, double-clicking .trv files will not"
  exit 0
fi
try_tool update-mime-database "${DATA}/mime"
try_tool update-desktop-database "${DATA}/applications"
try_tool xdg-mime default trivenor.desktop application/x-trivenor
if ((skipped == 0)); then
  note "circuit files (*.trv) now open in ${EDITOR} by double-click"
else
  note "the desktop entry and the MIME type are in ${DATA}; they take effect once the" \
    "skipped steps have run"
fi
