#!/usr/bin/env bash
# Builds the headless runner and lets it add 2 and 3 with the example circuit.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup.sh
cmake --preset default
cmake --build --preset default --target trivenor-run
exec build/default/src/cli/trivenor-run examples/addition.trv --set 0=2 --set 1=3
