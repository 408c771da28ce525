#!/usr/bin/env bash
# Everything CI checks: build and test with g++, run the editor end to end under Xvfb, build and
# test again with clang under AddressSanitizer and UndefinedBehaviorSanitizer, then fuzz the
# document reader for a minute and the evaluation plan for half a minute. A failing step does not
# stop the later ones, so one run shows every problem; the exit status is non-zero if any failed.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

readonly JOBS=2 # the CI machine has two cores
# Each libFuzzer target with its time: the document reader, and the compiled evaluation plan run
# beside the objects' own pass on whatever loads.
readonly FUZZ_TARGETS=(fuzz_document:60 fuzz_plan:30)
# A hanging input must fail the run well inside the time budget, not block it.
readonly FUZZ_INPUT_TIMEOUT_SECONDS=25
# The fuzzer starts from the example circuits and the collection of malformed files.
readonly FUZZ_CORPUS_SOURCES=(examples tests/document/malformed)
readonly FUZZ_BUILD=build/asan/fuzz
readonly E2E_OUTPUT=build/default/e2e
readonly SANITIZER_ENV=(
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
)

passed=0
failed=0
report=()
failed_steps=()
fuzz_scratch=""

cleanup() {
  if [[ -n ${fuzz_scratch} ]]; then
    rm -rf "${fuzz_scratch}"
  fi
}
trap cleanup EXIT

# A step that fails before any test could run counts as one failure, so a broken build can never
# read as a clean run with nothing to report.
step_failed() {
  local step=$1 reason=$2
  failed=$((failed + 1))
  failed_steps+=("${step}")
  report+=("${step}: FAILED, ${reason}")
}

run_ctest() {
  local preset=$1
  local log="build/${preset}/ctest.log"
  local status=0
  ctest --preset "${preset}" -j "${JOBS}" 2>&1 | tee "${log}" || status=$?

  # ctest closes with "NN% tests passed, F tests failed out of T".
  local counts
  counts=$(grep -oE '[0-9]+ tests? failed out of [0-9]+' "${log}" | tail -n 1 || true)
  if [[ ${counts} =~ ^([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+)$ ]]; then
    local preset_failed=${BASH_REMATCH[1]} preset_total=${BASH_REMATCH[2]}
    local preset_passed=$((preset_total - preset_failed))
    passed=$((passed + preset_passed))
    failed=$((failed + preset_failed))
    if ((preset_failed > 0)); then
      failed_steps+=("${preset} tests")
    fi
    report+=("${preset}: ${preset_passed} of ${preset_total} tests passed")
    if ((status != 0 && preset_failed == 0)); then
      step_failed "${preset} tests" "ctest exited with status ${status}"
    fi
  else
    step_failed "${preset} tests" "ctest ran no tests (status ${status}), see ${log}"
  fi
}

# Returns non-zero only when the preset could not be built; failing tests are recorded instead.
check_preset() {
  local preset=$1
  echo "==> ${preset}: configure"
  if ! cmake --preset "${preset}"; then
    step_failed "${preset} configure" "see the CMake output above"
    return 1
  fi
  echo "==> ${preset}: build"
  if ! cmake --build --preset "${preset}" -j "${JOBS}"; then
    step_failed "${preset} build" "see the compiler output above"
    return 1
  fi
  echo "==> ${preset}: test"
  run_ctest "${preset}"
}

# The real editor on an example circuit in a private X server; bounded to a minute by the script.
run_editor_e2e() {
  echo "==> e2e: the editor under Xvfb"
  if tests/e2e/editor_e2e.sh build/default/src/shell/trivenor "${E2E_OUTPUT}"; then
    passed=$((passed + 1))
    report+=("e2e: the editor showed and ran the example, screenshots in ${E2E_OUTPUT}/")
  else
    step_failed "e2e" "see the messages above and ${E2E_OUTPUT}/"
  fi
}

# Runs one fuzz target: its name and its seconds.
run_fuzz_target() {
  local -r name=$1 seconds=$2
  local -r target=${FUZZ_BUILD}/${name}
  local -r artifacts=build/asan/${name}-artifacts
  local -r log=build/asan/${name}.log
  if [[ ! -x ${target} ]]; then
    report+=("fuzz: skipped, ${target} was not built")
    return
  fi
  echo "==> fuzz: ${target} for ${seconds} s"
  # libFuzzer adds every interesting input to its corpus directory; that must not be the
  # repository's copy.
  rm -rf "${fuzz_scratch}"
  fuzz_scratch=$(mktemp -d)
  mkdir "${fuzz_scratch}/corpus"
  local source
  for source in "${FUZZ_CORPUS_SOURCES[@]}"; do
    # A folder without circuit files must not hand cp its unexpanded pattern.
    if compgen -G "${source}/*.trv" >/dev/null; then
      cp "${source}"/*.trv "${fuzz_scratch}/corpus/"
    fi
  done
  # Only this run's crash inputs stay here, so whatever is found afterwards belongs to it.
  rm -rf "${artifacts}"
  mkdir -p "${artifacts}"

  if env "${SANITIZER_ENV[@]}" "${target}" -max_total_time="${seconds}" \
    -timeout="${FUZZ_INPUT_TIMEOUT_SECONDS}" -malloc_limit_mb=512 -print_final_stats=1 \
    -artifact_prefix="${artifacts}/" "${fuzz_scratch}/corpus" >"${log}" 2>&1; then
    passed=$((passed + 1))
    report+=("fuzz: ${name} ${seconds} s without a crash")
  else
    tail -n 60 "${log}"
    step_failed "fuzz ${name}" "inputs saved in ${artifacts}/, full log ${log}"
  fi
}

scripts/setup.sh

if check_preset default; then
  run_editor_e2e
fi
if check_preset asan; then
  for fuzz_entry in "${FUZZ_TARGETS[@]}"; do
    run_fuzz_target "${fuzz_entry%%:*}" "${fuzz_entry##*:}"
  done
fi

echo
echo "==== test-all summary ($((SECONDS / 60)) min $((SECONDS % 60)) s) ===="
printf '%s\n' "${report[@]}"
if ((${#failed_steps[@]} == 0)); then
  echo "RESULT: everything passed"
else
  failed_list=$(printf '%s, ' "${failed_steps[@]}")
  echo "RESULT: FAILED (${failed_list%, })"
fi
# Kept as the very last line: CI reads the counts from it.
echo "total: ${passed} passed, ${failed} failed"
((${#failed_steps[@]} == 0))
