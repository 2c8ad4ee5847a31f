#!/usr/bin/env bash
# Builds Lumbrel.exe, its release zip and its installer again from scratch in
# another directory and compares them with the ones given: two builds of the
# same source must match byte for byte, but for the installer's package code
# and its times of creation and last save, which wixl sets anew each time.
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
# The installer: every table and stream, and the summary information but its
# package code (9) and times (12, 13).
msi=$(basename "$build_dir"/release/Orvenna-*.msi)
for side in a b; do mkdir -p "$work/msi-$side"; done
msidump -t -s -d "$work/msi-a" "$build_dir/release/$msi" >/dev/null
msidump -t -s -d "$work/msi-b" "$work/build/release/$msi" >/dev/null
for side in a b; do
  rm "$work/msi-$side/_Streams/"*SummaryInformation  # its name starts with a control character
  grep -Pv '^(9|12|13)\t' "$work/msi-$side/_SummaryInformation.idt" > "$work/msi-$side/summary" || true
  rm "$work/msi-$side/_SummaryInformation.idt"
done
if diff -r "$work/msi-a" "$work/msi-b" >/dev/null; then
  echo "same but for package code and dates: $msi"
  passed=$((passed + 1))
else
  echo "DIFFERENT: $msi"; diff -r "$work/msi-a" "$work/msi-b" | head -5
  failed=$((failed + 1))
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
