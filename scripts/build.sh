#!/usr/bin/env bash
# Installs what is missing and builds into build/: everything, or only the
# targets named (e.g. --target pyatnashki).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPYATNASHKI_WERROR=ON
cmake --build build -j"$(nproc)" "$@"
