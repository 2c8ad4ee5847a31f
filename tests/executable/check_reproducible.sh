#!/usr/bin/env bash
# Builds Lumbrel.exe, its release zip and its installer again from scratch in
# another directory and compares them with the ones given: two builds of the
# same source must match byte for byte. Then builds an installer from a changed
# program, which must be a new product in a new package: both codes differ.
# usage: check_reproducible.sh SOURCE_DIR PRESET BUILT_EXE
set -euo pipefail
src=$1 preset=$2 built=$3
work=$(mktemp -d /tmp/orvenna-repro.XXXXXX)
trap 'rm -rf "$work"' EXIT
# A copy of the source elsewhere, so that no path of the first build can leak in unnoticed.
mkdir "$work/src"
(cd "$src" && git ls-files -z --cached --others --exclude-standard 2>/dev/null | xargs -0 -I{} cp --parents {} "$work/src/") || cp -r "$src"/. "$work/src/"
cmake -S "$work/src" -B "$work/build" -G Ninja --toolchain "$work/src/cmake/mingw-$([ "$preset" = win32 ] && echo i686 || echo x86_64).cmake" \
  -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG" >/dev/null
build_dir=$(dirname "$(dirname "$built")")
cmake --build "$build_dir" --target package >/dev/null
cmake --build "$work/build" --target package >/dev/null
zip=$(basename "$build_dir"/release/Orvenna-*.zip)
passed=0 failed=0
msi=$(basename "$build_dir"/release/Orvenna-*.msi)
for pair in "$built:$work/build/bin/Lumbrel.exe" "$build_dir/release/$zip:$work/build/release/$zip" \
  "$build_dir/release/$msi:$work/build/release/$msi"; do
  a=${pair%%:*} b=${pair#*:}
  if cmp -s "$a" "$b"; then
    echo "same: $(basename "$a") $(sha256sum < "$a" | cut -c1-16)"
    passed=$((passed + 1))
  else
    echo "DIFFERENT: $(basename "$a")"
    failed=$((failed + 1))
  fi
done
# The same version from a program one byte longer.
codes() {  # the product code and the package code of an installer
  msiinfo export "$1" Property | awk -F'\t' '$1 == "ProductCode" { print $2 }'
  msiinfo suminfo "$1" | sed -n 's/^Revision number (UUID): //p'
}
cp "$work/build/release-stage/Lumbrel.exe" "$work/changed.exe"
printf '\0' >>"$work/changed.exe"
arch=$([ "$preset" = win32 ] && echo win32 || echo win64)
/usr/bin/python3 "$work/src/tools/package/make_msi.py" "$work/changed.msi" 2.0 "$arch" "$work/changed.exe" \
  "$work/build/res/Lumbrel.ico" https://www.lumbrel.com/p/orvenna.html --no-sums
codes "$work/build/release/$msi" >"$work/codes-a"
codes "$work/changed.msi" >"$work/codes-b"
if [ "$(wc -l <"$work/codes-a")" -eq 2 ] && [ "$(sort -u "$work/codes-a" "$work/codes-b" | wc -l)" -eq 4 ]; then
  echo "a changed program: new product code and package code: $(paste -sd' ' "$work/codes-b")"
  passed=$((passed + 1))
else
  echo "CODES NOT BOTH NEW for a changed program:"; paste "$work/codes-a" "$work/codes-b"
  failed=$((failed + 1))
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
