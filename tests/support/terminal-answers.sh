#!/bin/sh
# The program answers --help and --version on the terminal, in French, with
# no display at all, and exits 0.
program="$1"
version="$2"
fail() { echo "FAIL: $*"; exit 1; }
for option in --help -h; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$option") ||
        fail "$option exited with $?"
    printf '%s\n' "$out" | head -n 1 | grep -qx 'Utilisation : redigo \[OPTION\] \[FICHIER\]' ||
        fail "$option: $out"
    printf '%s\n' "$out" | grep -q -- '-v, --version   affiche la version et quitte' ||
        fail "$option lists no --version"
done
for option in --version -v; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$option") ||
        fail "$option exited with $?"
    [ "$out" = "Rédigo $version" ] || fail "$option: $out"
done
echo "PASS"
