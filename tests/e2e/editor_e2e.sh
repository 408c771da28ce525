#!/usr/bin/env bash
# End-to-end check of the editor as a user meets it: the real program opens the traffic-light
# example in a private X server (Xvfb), and screenshots show whether the window carries the file's
# name, whether the canvas draws the circuit and whether the running clock changes what it shows;
# then "Beenden" in the menu must end the program cleanly. Then a circuit is built with mouse and
# keys, and keys are pressed on a German and on a US keyboard layout. Last, an editor killed with
# a modified circuit must offer it back at the next start.
# Needs no desktop, so CI runs it as root on a bare machine. Every wait is bounded: a run ends
# within a minute whatever goes wrong, and the X server and the editor never outlive it.
#
#   tests/e2e/editor_e2e.sh [EDITOR [OUTPUT_DIR [RUNNER]]]
#
# EDITOR defaults to build/default/src/shell/trivenor. The screenshots and the editor's own output
# stay in OUTPUT_DIR (default build/default/e2e) for inspection; RUNNER (default
# build/default/src/cli/trivenor-run) computes the circuit the editor saved. Exit status 0 when
# all checks pass.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/../.."

readonly EDITOR=${1:-build/default/src/shell/trivenor}
readonly OUTPUT_DIR=${2:-build/default/e2e}
readonly RUNNER=${3:-build/default/src/cli/trivenor-run}
readonly EXAMPLE=examples/ampel.trv
readonly EXPECTED_TITLE="ampel.trv - Trivenor"
readonly SCREEN_SIZE=1280x1024x24

# Canvas geometry of the example, in pixels from the canvas's top-left corner: the border lines of
# the terminal columns lie at x = 90 and x = canvas width - 90 (the example keeps the width of 600),
# terminal row 0 at y = 20 with its value text right of x = width - 85, the components in between.
readonly LEFT_BORDER_X=90
readonly BORDER_DISTANCE=420
readonly OUTPUT_ROW0_AREA="80x30+515+5"     # WxH+X+Y: the value of output 0 ("xxx", then 0 to 5)
readonly COMPONENT_AREA="400x300+100+0"     # the boxes, labels and wires of the circuit
readonly MIN_BORDER_LINE_HEIGHT=200         # a border runs down the whole visible canvas
readonly MIN_COMPONENT_DARK_PIXELS=1000     # an empty canvas has none there
# Grey level below which a pixel counts as drawn: black lines and text, not the light greys of
# the widget frames.
readonly DARK_LEVEL=35%

# Bounds on the waits (seconds).
readonly SERVER_START_TIMEOUT=5
readonly WINDOW_TIMEOUT=15
# The first pass comes 3 s after the document is shown; from then on output 0 counts up once a
# second (every 20 passes of 50 ms), so two screenshots 1.5 s apart show different values. A
# loaded machine may stretch the passes, hence a few more tries before the clock counts as stopped.
readonly FIRST_PASS_WAIT=4.5
readonly CHANGE_INTERVAL=1.5
readonly CHANGE_ATTEMPTS=4
readonly MENU_TIMEOUT=5
readonly EXIT_TIMEOUT=5
# The period of the recovery copies in the crash scenario, instead of a minute.
readonly RECOVERY_SECONDS=1

# Set to RECOVERY_SECONDS for the editors of the crash scenario.
recovery_seconds=""

scratch=""
xvfb_pid=""
editor_pid=""

cleanup() {
  # The editor first: it must not see its display vanish. A server stopped with SIGTERM also
  # removes its socket and lock file.
  if [[ -n ${editor_pid} ]]; then
    stop_process "${editor_pid}"
  fi
  if [[ -n ${xvfb_pid} ]]; then
    stop_process "${xvfb_pid}"
  fi
  if [[ -n ${scratch} ]]; then
    rm -rf "${scratch}"
  fi
}
trap cleanup EXIT

fail() {
  echo "editor e2e: FAILED: $*" >&2
  local log=${OUTPUT_DIR}/editor.log
  if [[ -s ${log} ]]; then
    echo "editor e2e: the editor's output ends with:" >&2
    tail -n 20 "${log}" >&2
  fi
  echo "editor e2e: screenshots and logs in ${OUTPUT_DIR}/" >&2
  exit 1
}

note() {
  echo "editor e2e: $*"
}

# Polls COMMAND every 0.1 s until it succeeds or SECONDS_LIMIT have passed.
wait_for() {
  local seconds_limit=$1
  shift
  local deadline=$((SECONDS + seconds_limit))
  until "$@"; do
    if ((SECONDS >= deadline)); then
      return 1
    fi
    sleep 0.1
  done
}

process_gone() {
  ! kill -0 "$1" 2>/dev/null
}

# Asks the process to end and forces it after a short grace period.
stop_process() {
  local pid=$1
  kill -TERM "${pid}" 2>/dev/null || true
  if ! wait_for 2 process_gone "${pid}"; then
    kill -KILL "${pid}" 2>/dev/null || true
  fi
  wait "${pid}" 2>/dev/null || true
}

fail_if_editor_died() {
  if process_gone "${editor_pid}"; then
    local status=0
    wait "${editor_pid}" || status=$?
    editor_pid=""
    fail "the editor ended by itself with status ${status}; its output is in ${OUTPUT_DIR}/editor.log"
  fi
}

display_number_known() {
  [[ -s ${scratch}/display ]]
}

server_accepts_clients() {
  xdpyinfo >/dev/null 2>&1
}

# The server reads the cookie from its -auth file whatever display the entry names; clients look
# it up by display, so the entry for the real number is added once the server has chosen it.
start_x_server() {
  local cookie
  cookie=$(mcookie)
  export XAUTHORITY=${scratch}/Xauthority
  : >"${XAUTHORITY}"
  xauth -q -f "${XAUTHORITY}" add :0 . "${cookie}"
  # -displayfd lets the server pick a free display and write its number to the descriptor;
  # -noreset keeps it from resetting, and refusing connections meanwhile, whenever its last client
  # (the readiness probe below) disconnects.
  Xvfb -displayfd 3 -screen 0 "${SCREEN_SIZE}" -nolisten tcp -noreset -auth "${XAUTHORITY}" -wr \
    3>"${scratch}/display" >"${OUTPUT_DIR}/xvfb.log" 2>&1 &
  xvfb_pid=$!
  if ! wait_for "${SERVER_START_TIMEOUT}" display_number_known; then
    fail "Xvfb chose no display within ${SERVER_START_TIMEOUT} s, see ${OUTPUT_DIR}/xvfb.log"
  fi
  DISPLAY=":$(tr -d '[:space:]' <"${scratch}/display")"
  export DISPLAY
  xauth -q -f "${XAUTHORITY}" add "${DISPLAY}" . "${cookie}"
  if ! wait_for "${SERVER_START_TIMEOUT}" server_accepts_clients; then
    fail "Xvfb on ${DISPLAY} accepts no clients, see ${OUTPUT_DIR}/xvfb.log"
  fi
  note "Xvfb runs on display ${DISPLAY}"
}

# Starts the editor on the files given, or on a new document without any.
start_editor() {
  # The run must neither touch the user's settings (recent files) nor reach a Wayland desktop.
  # Nor its recovery copies.
  mkdir -p "${scratch}/config" "${scratch}/runtime" "${scratch}/data"
  chmod 700 "${scratch}/config" "${scratch}/runtime" "${scratch}/data"
  local period=()
  if [[ -n ${recovery_seconds} ]]; then
    period=(TRIVENOR_RECOVERY_SECONDS="${recovery_seconds}")
  fi
  env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="${scratch}/config" \
    XDG_RUNTIME_DIR="${scratch}/runtime" XDG_DATA_HOME="${scratch}/data" "${period[@]}" \
    "${EDITOR}" "$@" >>"${OUTPUT_DIR}/editor.log" 2>&1 &
  editor_pid=$!
}

# Sets `window` to the visible window titled EXPECTED_TITLE, if there is one by now.
find_editor_window() {
  fail_if_editor_died
  local title_pattern="^${EXPECTED_TITLE//./\\.}\$"
  window=$(xdotool search --onlyvisible --name "${title_pattern}" 2>/dev/null | head -n 1 || true)
  [[ -n ${window} ]]
}

# The titles of the windows on the screen, to say what showed instead.
visible_window_titles() {
  local id title
  for id in $(xdotool search --maxdepth 1 --onlyvisible --name '' 2>/dev/null || true); do
    title=$(xdotool getwindowname "${id}" 2>/dev/null || true)
    if [[ -n ${title} ]]; then
      printf '"%s" ' "${title}"
    fi
  done
}

screenshot() {
  local name=$1
  import -window root "${OUTPUT_DIR}/${name}.png"
  # The checks look at the window alone, in its own coordinates.
  convert "${OUTPUT_DIR}/${name}.png" -crop "${window_geometry}" +repage "${scratch}/${name}.png"
}

# Number of drawn pixels in the WxH+X+Y area of an image.
dark_pixels_in() {
  local image=$1 area=$2
  convert "${image}" -crop "${area}" +repage -colorspace Gray -threshold "${DARK_LEVEL}" \
    -negate -format '%[fx:round(mean*w*h)]' info:
}

# Prints "x top length" for every column of the image, where top and length describe the longest
# unbroken run of drawn pixels in it. Only columns drawn over a fifth of their height are listed,
# to keep the work small: the border lines are far above that, text and boxes below.
vertical_lines() {
  local image=$1 width height
  read -r width height < <(identify -format '%w %h\n' "${image}")
  local columns
  columns=$(convert "${image}" -colorspace Gray -threshold "${DARK_LEVEL}" -negate \
    -scale "${width}x1!" -depth 16 txt:- |
    awk -F'[,:() ]+' 'NR > 1 && $3 > 65535 / 5 { print $1 }')
  local x
  for x in ${columns}; do
    convert "${image}" -crop "1x${height}+${x}+0" +repage -colorspace Gray \
      -threshold "${DARK_LEVEL}" -depth 8 txt:- |
      awk -F'[,:() ]+' -v x="${x}" '
        NR > 1 { if ($3 == 0) { if (run == 0) start = $2; run++ } else run = 0
                 if (run > best) { best = run; top = start } }
        END { print x, top + 0, best + 0 }'
  done
}

# Sets canvas_x and canvas_y, the window position of the canvas's top-left corner, from the two
# border lines of the terminal columns: same top, same length, BORDER_DISTANCE apart.
locate_canvas() {
  local image=$1 lines
  lines=$(vertical_lines "${image}")
  local position
  position=$(awk -v distance="${BORDER_DISTANCE}" -v min_height="${MIN_BORDER_LINE_HEIGHT}" '
      $3 >= min_height { top[$1] = $2; length_of[$1] = $3 }
      END {
        for (x in top) {
          right = x + distance
          if ((right in top) && top[right] == top[x] && length_of[right] == length_of[x]) {
            print x, top[x]; exit
          }
        }
      }' <<<"${lines}")
  if [[ -z ${position} ]]; then
    local long_lines
    long_lines=$(awk -v min_height="${MIN_BORDER_LINE_HEIGHT}" \
      '$3 >= min_height { printf " x %d from y %d, %d px;", $1, $2, $3 }' <<<"${lines}")
    fail "the canvas shows no pair of border lines ${BORDER_DISTANCE} px apart (vertical lines" \
      "of ${MIN_BORDER_LINE_HEIGHT} px or more:${long_lines:- none}); see ${OUTPUT_DIR}/running.png"
  fi
  local left_border_x
  read -r left_border_x canvas_y <<<"${position}"
  canvas_x=$((left_border_x - LEFT_BORDER_X))
}

# Moves a WxH+X+Y area given in canvas coordinates into window coordinates.
in_window() {
  local size=${1%%+*} offset=${1#*+}
  echo "${size}+$((canvas_x + ${offset%%+*}))+$((canvas_y + ${offset#*+}))"
}

differing_pixels() {
  compare -metric AE "$1" "$2" null: 2>&1 || true
}

check_canvas_shows_circuit() {
  local image=${scratch}/running.png
  locate_canvas "${image}"
  note "canvas at (${canvas_x}, ${canvas_y}) in the window"
  local dark
  dark=$(dark_pixels_in "${image}" "$(in_window "${COMPONENT_AREA}")")
  if ((dark < MIN_COMPONENT_DARK_PIXELS)); then
    fail "only ${dark} drawn pixels where the components lie (canvas area ${COMPONENT_AREA})," \
      "expected at least ${MIN_COMPONENT_DARK_PIXELS}; see ${OUTPUT_DIR}/running.png"
  fi
  note "${dark} drawn pixels in the component area"
}

# Output 0 takes a new value every second while the clock runs.
check_clock_changes_output() {
  local area
  area=$(in_window "${OUTPUT_ROW0_AREA}")
  convert "${scratch}/running.png" -crop "${area}" +repage "${scratch}/value_before.png"
  local attempt differing
  for ((attempt = 1; attempt <= CHANGE_ATTEMPTS; attempt++)); do
    sleep "${CHANGE_INTERVAL}"
    fail_if_editor_died
    screenshot later
    convert "${scratch}/later.png" -crop "${area}" +repage "${scratch}/value_after.png"
    differing=$(differing_pixels "${scratch}/value_before.png" "${scratch}/value_after.png")
    if ((differing > 0)); then
      note "the value of output 0 changed (${differing} pixels) after ${attempt} x ${CHANGE_INTERVAL} s"
      return
    fi
  done
  fail "the value of output 0 (canvas area ${OUTPUT_ROW0_AREA}) stayed the same for" \
    "${CHANGE_ATTEMPTS} x ${CHANGE_INTERVAL} s; the clock does not run or does not repaint" \
    "(compare ${OUTPUT_DIR}/running.png and ${OUTPUT_DIR}/later.png)"
}

# A menu shows as a second window of the editor, beside its main window.
menu_is_open() {
  fail_if_editor_died
  local shown
  shown=$(xdotool search --onlyvisible --pid "${editor_pid}" 2>/dev/null | wc -l || true)
  ((shown > 1))
}

# Leaves through the program's own "Datei" > "Beenden" (Alt+D, then B), as a user would. The
# document is unchanged, so the program must end at once and with status 0: a question to save,
# a hang or a crash while tearing down fails here.
check_editor_quits() {
  # Without a window manager nobody else gives the window the keyboard.
  timeout "${MENU_TIMEOUT}" xdotool windowfocus --sync "${window}" || true
  xdotool key alt+d
  if ! wait_for "${MENU_TIMEOUT}" menu_is_open; then
    screenshot quitting
    fail "Alt+D opened no menu within ${MENU_TIMEOUT} s; see ${OUTPUT_DIR}/quitting.png"
  fi
  xdotool key b
  if ! wait_for "${EXIT_TIMEOUT}" process_gone "${editor_pid}"; then
    screenshot quitting
    fail "the editor did not end within ${EXIT_TIMEOUT} s of \"Beenden\"; see" \
      "${OUTPUT_DIR}/quitting.png"
  fi
  local status=0
  wait "${editor_pid}" || status=$?
  editor_pid=""
  if ((status != 0)); then
    fail "the editor ended with status ${status} after \"Beenden\"; its output is in" \
      "${OUTPUT_DIR}/editor.log"
  fi
  note "\"Beenden\" ended the editor with status 0"
}

measure_window() {
  window_geometry=$(xwininfo -id "${window}" |
    awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
         /Width:/ { w = $NF } /Height:/ { h = $NF } END { print w "x" h "+" x "+" y }')
}

# Prints the id of a visible window of the editor whose title matches PATTERN, if there is one.
editor_window_titled() {
  # --all: xdotool otherwise lists the windows matching any one of the criteria.
  xdotool search --all --onlyvisible --pid "${editor_pid}" --name "$1" 2>/dev/null |
    head -n 1 || true
}

# Sets `window` to the editor's visible main window, whatever its title.
find_any_editor_window() {
  fail_if_editor_died
  window=$(editor_window_titled ' - Trivenor$')
  [[ -n ${window} ]]
}

# Canvas point X Y, as the mouse reaches it inside the window.
mouse_to() {
  xdotool mousemove --window "${window}" $((canvas_x + $1)) $((canvas_y + $2))
  sleep 0.1
}

click_at() {
  mouse_to "$1" "$2"
  xdotool click 1
  sleep 0.2
}

# Press at X1 Y1, move in steps, release at X2 Y2: a wire from port to port.
drag() {
  mouse_to "$1" "$2"
  xdotool mousedown 1
  sleep 0.1
  mouse_to $((($1 + $3) / 2)) $((($2 + $4) / 2))
  mouse_to "$3" "$4"
  xdotool mouseup 1
  sleep 0.2
}

file_is_written() {
  [[ -s $1 ]]
}

palette=""

# Sets `palette` to the visible "Grundfunktionen" palette, if there is one by now.
find_palette() {
  fail_if_editor_died
  palette=$(editor_window_titled '^Grundfunktionen$')
  [[ -n ${palette} ]]
}

# Opens "Bauteile" > "Grundfunktionen" from the keyboard: "Bauteile" has no mnemonic, so Alt+D
# opens "Datei" and the right arrow, twice, the menu two places on ("Bearbeiten" lies between),
# with its first entry highlighted.
open_basic_palette() {
  timeout "${MENU_TIMEOUT}" xdotool windowfocus --sync "${window}" || true
  xdotool key alt+d
  if ! wait_for "${MENU_TIMEOUT}" menu_is_open; then
    screenshot building
    fail "Alt+D opened no menu within ${MENU_TIMEOUT} s; see ${OUTPUT_DIR}/building.png"
  fi
  xdotool key Right
  sleep 0.3
  xdotool key Right
  sleep 0.3
  xdotool key Down Return
  if ! wait_for "${WINDOW_TIMEOUT}" find_palette; then
    screenshot building
    fail "\"Bauteile\" > \"Grundfunktionen\" showed no palette; see ${OUTPUT_DIR}/building.png"
  fi
  # The palette opens over the top-left corner of the canvas, where the terminals are: a user
  # drags it aside, here it is moved right of the main window.
  xdotool windowmove --sync "${palette}" 900 100
}

# Clicks the palette's "+", its first button: 25 x 14 dialog units at (7, 7) of a palette 122 x 105
# dialog units large, so its centre lies at these fractions of the palette's size whatever the font.
click_palette_plus() {
  local width height
  read -r width height < <(xwininfo -id "${palette}" |
    awk '/Width:/ { w = $NF } /Height:/ { h = $NF } END { print w, h }')
  xdotool mousemove --window "${palette}" $((width * 39 / 244)) $((height * 14 / 105))
  sleep 0.1
  xdotool click 1
  sleep 0.2
}

# A user builds 2 + 3 on the empty canvas of a new editor: two inputs and an output by clicks into
# the terminal columns, "+" from the "Grundfunktionen" palette, three wires, the values typed in.
# The "+" box is 20 wide at (200, 95): inputs at (200, 100) and (200, 110), the output at
# (220, 100), reached from inside the box.
build_sum() {
  start_editor
  if ! wait_for "${WINDOW_TIMEOUT}" find_any_editor_window; then
    fail "the editor without a file showed no main window within ${WINDOW_TIMEOUT} s"
  fi
  timeout "${MENU_TIMEOUT}" xdotool windowfocus --sync "${window}" || true
  measure_window
  screenshot building
  locate_canvas "${scratch}/building.png"
  click_at 40 20
  click_at 40 50
  click_at 515 20
  open_basic_palette
  click_palette_plus
  # Without a window manager a click gives no window the keyboard; a user's click would.
  timeout "${MENU_TIMEOUT}" xdotool windowfocus --sync "${window}" || true
  click_at 200 100
  drag 90 20 200 100
  drag 90 50 200 110
  drag 212 100 510 20
  click_at 40 20
  xdotool type 2
  xdotool key Return
  click_at 40 50
  xdotool type 3
  xdotool key Return
}

# Saves the untitled circuit with Ctrl+S under the name TYPED; the command-line runner must find
# 5 at the output of the file FILE that results.
save_sum() {
  local typed=$1 file=$2
  timeout "${MENU_TIMEOUT}" xdotool windowfocus --sync "${window}" || true
  xdotool key ctrl+s
  sleep 1
  xdotool key ctrl+a
  xdotool type "${typed}"
  xdotool key Return
  if ! wait_for "${WINDOW_TIMEOUT}" file_is_written "${file}"; then
    screenshot building
    fail "Ctrl+S and \"${typed}\" saved no ${file}; see ${OUTPUT_DIR}/building.png"
  fi
  local state
  state=$("${RUNNER}" "${file}" --run 3)
  if ! grep -qx 'out 0 5' <<<"${state}"; then
    screenshot building
    fail "the saved circuit computes \"${state//$'\n'/; }\" instead of out 0 5; see" \
      "${OUTPUT_DIR}/building.png"
  fi
}

check_building_a_circuit() {
  build_sum
  save_sum "${scratch}/sum.trv" "${scratch}/sum.trv"
  note "the circuit built with mouse and keys computes 5"
}

# The editor follows the server's notice of a new layout; the next key must not come before it.
use_layout() {
  setxkbmap "$1"
  sleep 0.3
}

# Presses KEY with the pointer on the canvas, then clicks at X Y, where what it armed is placed.
place_with() {
  mouse_to "$2" "$3"
  xdotool key "$1"
  click_at "$2" "$3"
}

# Starts typing into the input of the row at Y, then presses the keys and Enter.
type_into() {
  local y=$1
  shift
  click_at 40 "${y}"
  xdotool key "$@" Return
  sleep 0.2
}

# Fails unless canvas area AREA of the "keys" screenshot shows what area REFERENCE shows, and that
# is something drawn. WHAT names the press that made AREA.
expect_same_as() {
  local reference=$1 area=$2 what=$3 image=${scratch}/keys.png
  if (($(dark_pixels_in "${image}" "$(in_window "${reference}")") == 0)); then
    fail "the plain key drew nothing at canvas area ${reference}; see ${OUTPUT_DIR}/keys.png"
  fi
  convert "${image}" -crop "$(in_window "${reference}")" +repage "${scratch}/expected.png"
  convert "${image}" -crop "$(in_window "${area}")" +repage "${scratch}/actual.png"
  if (($(differing_pixels "${scratch}/expected.png" "${scratch}/actual.png") > 0)); then
    fail "${what} did not act as the plain key (canvas areas ${area} and ${reference}); see" \
      "${OUTPUT_DIR}/keys.png"
  fi
}

file_dialog_shown() {
  fail_if_editor_died
  [[ -n $(editor_window_titled '^Öffnen$') ]]
}

# Keys count by the key on a German and on a US layout: Shift with plus or minus places that
# operator, and Shift with comma or full stop types a decimal point, as the plain keys do. Then
# Ctrl+O on the canvas of a window that is not the active one opens the file dialog (it once armed
# an output display).
check_keys() {
  start_editor
  if ! wait_for "${WINDOW_TIMEOUT}" find_any_editor_window; then
    fail "the editor without a file showed no main window within ${WINDOW_TIMEOUT} s"
  fi
  measure_window
  screenshot keys
  locate_canvas "${scratch}/keys.png"
  local y
  for y in 20 50 80 110 140; do
    click_at 40 "${y}"  # new inputs in rows 0 to 4
  done
  use_layout de
  place_with plus 250 200
  place_with minus 150 200
  place_with shift+plus 250 300
  place_with shift+minus 150 300
  type_into 20 1 period 5
  type_into 50 1 shift+comma 5
  type_into 80 1 shift+period 5
  use_layout us
  place_with shift+minus 150 400
  type_into 110 1 shift+comma 5
  type_into 140 1 shift+period 5
  screenshot keys
  # The boxes placed by the clicks above, and the value texts of the rows.
  expect_same_as 40x70+240+185 40x70+240+285 "German Shift+plus"
  expect_same_as 40x70+140+185 40x70+140+285 "German Shift+minus"
  expect_same_as 40x70+140+185 40x70+140+385 "US Shift+minus"
  expect_same_as 86x24+2+8 86x24+2+38 "German Shift+comma"
  expect_same_as 86x24+2+8 86x24+2+68 "German Shift+full stop"
  expect_same_as 86x24+2+8 86x24+2+98 "US Shift+comma"
  expect_same_as 86x24+2+8 86x24+2+128 "US Shift+full stop"
  note "Shift with plus, minus, comma and full stop acts as the plain key on German and US layouts"

  # Focused on the root window, the server hands each key to the window under the pointer, and
  # the main window is not the active one: without a window manager it stays so once a dialog or
  # a palette has had the keyboard.
  timeout "${MENU_TIMEOUT}" xdotool windowfocus --sync \
    "$(xwininfo -root | awk '/Window id:/ { print $4 }')" || true
  mouse_to 300 300
  xdotool key ctrl+o
  if ! wait_for "${WINDOW_TIMEOUT}" file_dialog_shown; then
    screenshot keys
    fail "Ctrl+O on the canvas opened no \"Öffnen\"; the screen shows $(visible_window_titles)"
  fi
  note "Ctrl+O on the canvas of an inactive window opened \"Öffnen\""
  # The circuit is modified: leaving through the menu would ask to save it.
  stop_process "${editor_pid}"
  editor_pid=""
}

recovery_copies() {
  find "${scratch}/data" -name 'recovery-*.trv' -newer "${scratch}/built"
}

recovery_copy_written() {
  fail_if_editor_died
  [[ -n $(recovery_copies) ]]
}

recovery_question_shown() {
  fail_if_editor_died
  window=$(editor_window_titled '^Trivenor$')
  [[ -n ${window} ]]
}

# The sum is built in an editor that copies it for recovery every RECOVERY_SECONDS, and the editor
# is killed once a copy of the whole circuit is there. The next editor asks to recover it; "Ja"
# (Return) brings it back untitled and modified, and saved under a name typed without extension
# it lands in a .trv file that computes 5. Saving removes the copy, and once that editor has ended
# cleanly no file of any editor is left in the recovery folder.
check_recovery() {
  recovery_seconds=${RECOVERY_SECONDS}
  build_sum
  touch "${scratch}/built"
  if ! wait_for "${WINDOW_TIMEOUT}" recovery_copy_written; then
    fail "no recovery copy in ${scratch}/data within ${WINDOW_TIMEOUT} s of the last change"
  fi
  kill -KILL "${editor_pid}"
  wait "${editor_pid}" 2>/dev/null || true
  editor_pid=""
  start_editor
  if ! wait_for "${WINDOW_TIMEOUT}" recovery_question_shown; then
    fail "the editor started after a kill asked nothing; the screen shows $(visible_window_titles)"
  fi
  timeout "${MENU_TIMEOUT}" xdotool windowfocus --sync "${window}" || true
  xdotool key Return
  if ! wait_for "${WINDOW_TIMEOUT}" find_any_editor_window; then
    fail "no main window after \"Ja\"; the screen shows $(visible_window_titles)"
  fi
  save_sum "${scratch}/recovered" "${scratch}/recovered.trv"
  if [[ -n $(find "${scratch}/data" -name 'recovery-*.trv') ]]; then
    fail "saving left the recovery copy in ${scratch}/data"
  fi
  check_editor_quits
  local left
  left=$(find "${scratch}/data" -name 'recovery-*' -printf '%f ')
  if [[ -n ${left} ]]; then
    fail "a clean end left ${left}in the recovery folder"
  fi
  note "a killed editor's circuit came back, saved as recovered.trv and computes 5"
}

main() {
  mkdir -p "${OUTPUT_DIR}"
  # Only this run's files stay, so nothing there can be mistaken for its result.
  rm -f "${OUTPUT_DIR}"/{running,later,quitting,building,keys}.png "${OUTPUT_DIR}"/{editor,xvfb}.log
  if [[ ! -x ${EDITOR} ]]; then
    fail "no editor at ${EDITOR}; build the target trivenor first"
  fi
  scratch=$(mktemp -d)

  start_x_server
  start_editor "${EXAMPLE}"
  if ! wait_for "${WINDOW_TIMEOUT}" find_editor_window; then
    fail "no window titled \"${EXPECTED_TITLE}\" within ${WINDOW_TIMEOUT} s; the screen shows" \
      "$(visible_window_titles)"
  fi
  measure_window
  note "window \"${EXPECTED_TITLE}\" at ${window_geometry}"

  sleep "${FIRST_PASS_WAIT}"
  fail_if_editor_died
  screenshot running
  check_canvas_shows_circuit
  check_clock_changes_output
  check_editor_quits
  check_building_a_circuit
  check_editor_quits
  check_keys
  check_recovery
  note "passed"
}

main
