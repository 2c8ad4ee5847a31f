#!/usr/bin/env bash
# Builds Lumbrel.exe and its release zip again from scratch in another
# directory and compares both byte for byte with the ones given: two builds of
# the same source must match.
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
for pair in "$built:$work/build/bin/Lumbrel.exe" "$build_dir/release/$zip:$work/build/release/$zip"; do
  a=${pair%%:*} b=${pair#*:}
  if cmp -s "$a" "$b"; then
    echo "same: $(basename "$a") $(sha256sum < "$a" | cut -c1-16)"
    passed=$((passed + 1))
  else
    echo "DIFFERENT: $(basename "$a")"
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
