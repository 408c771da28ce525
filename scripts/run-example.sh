#!/usr/bin/env bash
# Builds the headless runner and lets it add 7 and 8 with the example circuit, printing the state
# after every pass.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup.sh
cmake --preset default
cmake --build --preset default --target trivenor-run
exec build/default/src/cli/trivenor-run examples/addition.trv --set 0=7 --set 1=8 --trace --run 2
