#!/usr/bin/env bash
# What a player gets: the game installed into a folder whose name needs
# quoting, and the archive of that folder unpacked somewhere else. Each must
# start, and its menu entry must name its own program and icon.
#
#     test_install.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A desktop entry value as a launcher reads it: first the value's escapes,
# then, for Exec, the quoting of its one argument.
entryValue() { sed -n "s/^$2=//p" "$1" | sed 's/\\\\/\\/g'; }
execArgument() { entryValue "$1" Exec | sed -n 's/^"\(.*\)"$/\1/p'; }
execProgram() { execArgument "$1" | sed 's/\\\(.\)/\1/g'; }

# The program is a real 256 x 256 PNG: its signature, then IHDR's width and height.
checkIcon() {
    [ "$(od -An -tx1 -N8 "$1" | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$1 is no PNG"
    [ "$(od -An -tx1 -j16 -N8 "$1" | tr -d ' \n')" = 0000010000000100 ] || fail "$1 is not 256 x 256"
}

# Started with no display, a sound program keeps waiting for the player.
checkStarts() {
    local status=0
    (cd "$work" && QT_QPA_PLATFORM=offscreen timeout 2 "$1" >/dev/null 2>&1) || status=$?
    [ "$status" -eq 124 ] || fail "$1 ended at once with status $status"
}

# From a terminal with no desktop: the command line is answered in Russian
# whatever the locale, and the game itself refuses with a word, not a core dump.
checkCommandLine() {
    local program=$1 out status version
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
    bare() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C timeout 10 "$program" "$@" 2>&1; }
    out=$(bare --version) || fail "--version ended with status $?"
    [ "$out" = "Пятнашки $version" ] || fail "--version printed: $out"
    out=$(bare --help) || fail "--help ended with status $?"
    grep -q '^Использование: .*pyatnashki' <<<"$out" && grep -q -- '-v, --version' <<<"$out" ||
        fail "--help printed: $out"
    status=0 && out=$(bare --bogus) || status=$?
    [ "$status" -eq 2 ] && grep -q '«bogus»' <<<"$out" && grep -q '^Использование' <<<"$out" ||
        fail "an unknown option gave status $status and: $out"
    # What was asked for is the answer, on standard output; standard error stays empty.
    local option
    for option in --help --version; do
        out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C timeout 10 "$program" "$option" 2>&1 >/dev/null) ||
            fail "$option ended with status $?"
        [ -z "$out" ] || fail "$option wrote to standard error: $out"
    done
    # A platform named on the command line is a display of its own: the game starts.
    status=0 && out=$(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C timeout 2 \
        "$program" -platform offscreen 2>&1) || status=$?
    [ "$status" -eq 124 ] || fail "-platform offscreen without a display gave status $status and: $out"
    # No display at all, and one that cannot be reached.
    local how
    for how in "-u DISPLAY" "DISPLAY=$work/no-display:0"; do
        status=0 && out=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $how LC_ALL=C timeout 10 "$program" 2>&1) ||
            status=$?
        [ "$status" -eq 1 ] && grep -q 'нужен графический рабочий стол' <<<"$out" ||
            fail "with $how the game gave status $status and: $out"
    done
}

checkEntry() {
    local folder=$1 entry=$1/pyatnashki.desktop
    [ -f "$entry" ] || fail "no menu entry in $folder"
    local report
    report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate failed: $report"
    [ -z "$report" ] || fail "desktop-file-validate: $report"
    grep -qx 'Type=Application' "$entry" || fail "the entry is no application"
    grep -qx 'Name=Пятнашки' "$entry" || fail "the entry lacks the Russian name"
    # The class the window gives X11, so the dock ties the two together.
    grep -qx 'StartupWMClass=pyatnashki' "$entry" || fail "the entry does not name the window's class"
    # Inside the quotes, " ` $ and \ stand only escaped.
    [ -n "$(execArgument "$entry")" ] || fail "Exec is not one quoted argument"
    execArgument "$entry" | sed 's/\\.//g' | grep -q '[\"`$]' && fail "Exec leaves a character unescaped"
    [ "$(execProgram "$entry")" = "$folder/pyatnashki" ] || fail "Exec names $(execProgram "$entry")"
    [ "$(entryValue "$entry" Icon)" = "$folder/pyatnashki.png" ] || fail "Icon names $(entryValue "$entry" Icon)"
    checkIcon "$(entryValue "$entry" Icon)"
    checkStarts "$(execProgram "$entry")"
}

# Installed: the program, its icon, licence and entry, ready in the folder,
# even where only the game was built, as the play command builds it.
rm -f "$build/packaging/pyatnashki.png"
cmake --build "$build" --target pyatnashki >/dev/null
installed="$work/Мои игры/\$HOME \"15\" \`x\`"
cmake --install "$build" --prefix "$installed" >/dev/null
for file in pyatnashki pyatnashki.png LICENSE add-to-menu; do
    [ -f "$installed/$file" ] || fail "$file not installed"
done
checkEntry "$installed"
checkCommandLine "$installed/pyatnashki"

# The archive holds the folder without an entry, which would name the packer's paths.
cpack --config "$build/CPackConfig.cmake" -B "$work/pack" >/dev/null
archive=$(ls "$work"/pack/pyatnashki-*.tar.gz)
listed=$(tar tzf "$archive" | sed 's|^[^/]*/||' | sort | tr '\n' ' ')
[ "$listed" = "LICENSE add-to-menu pyatnashki pyatnashki.png " ] || fail "the archive holds: $listed"

# Unpacked elsewhere, add-to-menu writes the entry for that place and links it into the menu.
mkdir "$work/elsewhere"
tar xzf "$archive" -C "$work/elsewhere"
unpacked=$(ls -d "$work"/elsewhere/pyatnashki-*)
XDG_DATA_HOME="$work/data" "$unpacked/add-to-menu" >/dev/null
checkEntry "$unpacked"
[ "$(readlink "$work/data/applications/pyatnashki.desktop")" = "$unpacked/pyatnashki.desktop" ] ||
    fail "the menu does not link the unpacked folder's entry"
echo "PASS"
