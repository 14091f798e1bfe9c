#!/usr/bin/env bash
# Builds and runs every test: the whole suite through ctest, the unit tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzz
# target for a short bounded time.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
fuzz_seconds="${FUZZ_SECONDS:-15}"
passed=0

# Runs ctest in a build folder and adds its test count to the total.
run_ctest() {
  local log
  log="$(mktemp)"
  (cd "$1" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2) | tee "$log"
  passed=$((passed + $(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)))
  rm -f "$log"
}

"$root/scripts/setup.sh"

# Every tracked C++ file must read exactly as Debian 12's clang-format 14
# formats it with the root .clang-format.
echo "== format"
format=clang-format
if command -v clang-format-14 >/dev/null; then format=clang-format-14; fi
if git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
  sources="$(git -C "$root" ls-files -- '*.cpp' '*.h')"
else
  sources="$(cd "$root" && find . \( -name 'build*' -o -name .git \) -prune -o \
    \( -name '*.cpp' -o -name '*.h' \) -type f -print | sed 's|^\./||' | sort)"
fi
unformatted=()
while read -r file; do
  [ -f "$root/$file" ] || continue
  "$format" --style=file "$root/$file" | cmp -s - "$root/$file" || unformatted+=("$file")
done <<<"$sources"
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "not formatted as $format formats them (fix with: $format -i FILE...):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi

"$root/scripts/build.sh"
echo "== tests"
run_ctest "$root/build"

echo "== unit tests under ASan and UBSan"
if [ ! -f "$root/build-asan/build.ninja" ]; then
  cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DVANTOR_CORE_ONLY=ON -DVANTOR_SANITIZE=ON -DVANTOR_WERROR=ON >/dev/null
fi
ninja -C "$root/build-asan"
run_ctest "$root/build-asan"

echo "== fuzz targets, ${fuzz_seconds}s each"
if [ ! -f "$root/build-fuzz/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVANTOR_FUZZ=ON -DVANTOR_WERROR=ON >/dev/null
fi
ninja -C "$root/build-fuzz"
for target in "$root"/build-fuzz/fuzz/*_fuzz; do
  name="$(basename "$target")"
  corpus="$root/build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$root/fuzz/seeds/$name" ] && seeds=("$root/fuzz/seeds/$name")
  echo "-- $name"
  "$target" -max_total_time="$fuzz_seconds" -max_len=70000 -print_final_stats=0 "$corpus" "${seeds[@]}" 2>&1 | tail -n 2
  passed=$((passed + 1))
done
echo "$passed passed, 0 failed"
