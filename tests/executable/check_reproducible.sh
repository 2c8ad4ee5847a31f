#!/usr/bin/env bash
# Builds Lumbrel.exe again from scratch in another directory and compares it
# byte for byte with the one given: two builds of the same source must match.
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
cmake --build "$work/build" --target Lumbrel >/dev/null
if cmp -s "$built" "$work/build/bin/Lumbrel.exe"; then
  echo "1 passed, 0 failed: $(sha256sum < "$built" | cut -c1-16) both times"
else
  cmp "$built" "$work/build/bin/Lumbrel.exe" | head -3
  echo "0 passed, 1 failed: the two builds differ"
  exit 1
fi
