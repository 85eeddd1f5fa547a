#!/usr/bin/env bash
# Builds libplinth.a and the probes for i386 and x86-64 (or the presets
# named as arguments) and runs both probes. A probe prints nothing when it
# passes; on failure it prints its one report line.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

# Through CTest, which runs i386 programs under an emulator when needed.
plinth_build_and_test "$@" -- -R '^probe\.' --output-on-failure
