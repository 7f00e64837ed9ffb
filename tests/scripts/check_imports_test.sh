#!/usr/bin/env bash
# scripts/check-imports on three small programs built with the given i686 C compiler: one of allowed imports
# passes; one importing GetTickCount64 and _aligned_malloc fails naming both; one marked for XP (5.1) fails.
set -u
check=$(dirname "$0")/../../scripts/check-imports cc=$1 dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '#include <windows.h>\nint main(void) { return GetTickCount() == 7; }\n' >"$dir/good.c"
printf '#include <windows.h>\n#include <malloc.h>\nint main(void) { return GetTickCount64() == 7 || !_aligned_malloc(8, 16); }\n' >"$dir/bad.c"
"$cc" -o "$dir/good.exe" "$dir/good.c" && "$cc" -o "$dir/bad.exe" "$dir/bad.c" &&
  "$cc" -Wl,--major-subsystem-version,5,--minor-subsystem-version,1 -o "$dir/xp.exe" "$dir/good.c" || exit 1
"$check" -q "$dir/good.exe" || { echo "refused a program of allowed imports"; exit 1; }
out=$("$check" -q "$dir/bad.exe") && { echo "passed GetTickCount64 and _aligned_malloc"; exit 1; }
grep -q 'KERNEL32.dll GetTickCount64' <<<"$out" && grep -q 'msvcrt.dll _aligned_malloc' <<<"$out" || { echo "$out"; exit 1; }
out=$("$check" -q "$dir/xp.exe") && { echo "passed subsystem version 5.1"; exit 1; }
grep -q 'MinorSubsystemVersion is 1' <<<"$out" || { echo "$out"; exit 1; }
echo "check-imports: 3 cases as expected"
