#!/usr/bin/env bash
# Configures the command-line program alone (TARVEL_GUI=OFF) as on a machine without Qt's
# development package and without scdoc, builds it, and checks that it links no Qt library.
# usage: cli-only-build.sh SOURCE_DIR BUILD_DIR GENERATOR CXX_COMPILER
set -euo pipefail
source=$1 build=$2 generator=$3 compiler=$4
fail() {
  echo "ÉCHEC : $*" >&2
  exit 1
}
# Qt made unfindable even where it is installed; scdoc set to nothing, as if absent.
configure=$(cmake -S "$source" -B "$build" -G "$generator" -DCMAKE_CXX_COMPILER="$compiler" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVEL_WERROR=ON -DTARVEL_GUI=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON -DSCDOC= 2>&1) || fail "configuration"$'\n'"$configure"
grep -q "Manual pages left out" <<<"$configure" || fail "les pages de manuel sans scdoc"
cmake --build "$build" --target tarvelinquistombrel-cli >/dev/null || fail "construction"
program=$build/bin/tarvelinquistombrel-cli
# Directly (readelf) and through the libraries it needs (ldd).
linked=$(readelf -d "$program" && ldd "$program") || fail "readelf -d / ldd $program"
grep -q NEEDED <<<"$linked" || fail "readelf -d ne liste aucune bibliothèque"
! grep -i 'libqt' <<<"$linked" || fail "une bibliothèque Qt est liée"
"$program" --version | grep -q '^tarvelinquistombrel-cli ' || fail "--version"
