#!/usr/bin/env bash
# Builds and runs every test: the whole suite through ctest, the unit tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzz
# target for a short bounded time.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
fuzz_seconds="${FUZZ_SECONDS:-15}"

"$root/scripts/build.sh"
echo "== tests"
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)

echo "== unit tests under ASan and UBSan"
if [ ! -f "$root/build-asan/build.ninja" ]; then
  cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DVANTOR_CORE_ONLY=ON -DVANTOR_SANITIZE=ON >/dev/null
fi
ninja -C "$root/build-asan"
(cd "$root/build-asan" && ctest --output-on-failure -j2)

echo "== fuzz targets, ${fuzz_seconds}s each"
if [ ! -f "$root/build-fuzz/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVANTOR_FUZZ=ON >/dev/null
fi
ninja -C "$root/build-fuzz"
for target in "$root"/build-fuzz/fuzz/*_fuzz; do
  name="$(basename "$target")"
  corpus="$root/build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$root/fuzz/seeds/$name" ] && seeds=("$root/fuzz/seeds/$name")
  echo "-- $name"
  "$target" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" "${seeds[@]}" 2>&1 | tail -n 2
done
echo "all tests passed"
