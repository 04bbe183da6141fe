#!/usr/bin/env bash
# Installs what is missing and builds into build/: the game and what
# installing it needs (its icon), or with --all every test too.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if [ "${1:-}" = "--all" ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPYATNASHKI_WERROR=ON
    cmake --build build -j"$(nproc)"
else
    # A player needs the build's progress, not the configuration's notes.
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPYATNASHKI_WERROR=ON --log-level=WARNING
    cmake --build build -j"$(nproc)" --target pyatnashki
fi
