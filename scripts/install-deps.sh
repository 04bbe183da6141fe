#!/usr/bin/env bash
# Installs the Debian packages needed to build, play and test, where missing:
# the compiler and CMake, Qt 6 Widgets with its Russian texts, and fonts
# with Cyrillic glyphs; and any further packages named as arguments.
set -euo pipefail

packages=(g++ make cmake qt6-base-dev qt6-translations-l10n fonts-dejavu-core fonts-liberation2 "$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    # Without sudo there is no way to root from here: say what to run instead.
    if ! command -v sudo >/dev/null; then
        {
            echo "$0: missing packages: ${missing[*]}"
            echo "Installing them needs root or sudo, and sudo was not found. As root, run:"
            echo "    apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
        } >&2
        exit 1
    fi
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
