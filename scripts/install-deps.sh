#!/usr/bin/env bash
# Installs the Debian packages needed to build and play, where missing: the
# compiler and CMake, Qt 6 Widgets with its Russian texts, the access-list
# library the save keeps a file's access list with, and fonts with Cyrillic
# glyphs; and for each argument, the group it names (tests,
# packaging) or the package itself.
#
# Without root or sudo it cannot install: it then names, in one apt-get line,
# every package that any of the project's commands needs and that is missing,
# so that one trip to root serves play, test and package alike.
set -euo pipefail

play=(g++ make cmake qt6-base-dev libacl1-dev qt6-translations-l10n fonts-dejavu-core fonts-liberation2)
# The groups the other commands ask for: the end-to-end test's X server and
# headers (scripts/test), and Debian's tools that build and check the package
# (scripts/package, which scripts/test runs too).
tests=(xvfb libx11-dev libxtst-dev)
packaging=(build-essential debhelper lintian appstream desktop-file-utils)

# Prints the packages among the arguments that are not installed.
missingOf() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || echo "$package"
    done
}

wanted=("${play[@]}")
for argument in "$@"; do
    case $argument in
    tests) wanted+=("${tests[@]}") ;;
    packaging) wanted+=("${packaging[@]}") ;;
    *) wanted+=("$argument") ;;
    esac
done

mapfile -t missing < <(missingOf "${wanted[@]}" | awk '!seen[$0]++')
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    # Without sudo there is no way to root from here: say what to run instead.
    if ! command -v sudo >/dev/null; then
        mapfile -t all < <(missingOf "${wanted[@]}" "${tests[@]}" "${packaging[@]}" | awk '!seen[$0]++')
        {
            echo "Missing packages: ${missing[*]}"
            echo "Installing them needs root or sudo, and sudo was not found. As root, run"
            echo "(this installs what the test and package commands need too):"
            echo
            echo "    apt-get update && apt-get install -y --no-install-recommends ${all[*]}"
            echo
            echo "then run this command again."
        } >&2
        exit 1
    fi
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
