#!/usr/bin/env bash
# sector-cli on a sparse 3 TiB image with bytes planted past sector 2^32: every
# command reaches them, and nothing lands on the sector 2^32 lower.
#   cli_beyond_2tib.sh SECTOR_CLI
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
img=$work/big.img
truncate -s 3T "$img"
far=$(( (1 << 32) + 1000 ))
put() { printf '%s' "$2" | dd of="$img" bs=1 seek="$1" conv=notrunc status=none; }
get() { dd if="$img" bs=1 skip="$1" count="$2" status=none; }
check() { [ "$2" = "$3" ] || { echo "FAIL: $1: got '$2', want '$3'"; exit 1; }; }
put $(( far * 512 + 100 )) FAR-NEEDLE

check info "$("$cli" info "$img")" "LastSector 6442450943"
dump=$("$cli" dump "$img" $far)
check "dump heading" "$(head -1 <<<"$dump")" "Sector Number $far"
check "dump row" "$(grep '^060:' <<<"$dump" | cut -c56-)" "....FAR-NEEDLE.."
check search "$("$cli" search "$img" --from $(( 1 << 32 )) --ascii FAR-NEEDLE)" $far

"$cli" export "$img" --from $far --count 2 -o "$work/out.bin"
check "export size" "$(stat -c %s "$work/out.bin")" 1024
check "export bytes" "$(dd if="$work/out.bin" bs=1 skip=100 count=10 status=none)" FAR-NEEDLE

printf 'IMPORTED' > "$work/in.bin"
"$cli" import "$img" --from 5000000000 "$work/in.bin" 2>/dev/null
check import "$(get $(( 5000000000 * 512 )) 8)" IMPORTED

# Across the 2^32 boundary: sectors 2^32-6 .. 2^32+3 take the run from $far - 6.
"$cli" copy "$img" --from $(( far - 6 )) --to $(( (1 << 32) - 6 )) --count 10 2>/dev/null
check copy "$(get $(( ((1 << 32) + 0) * 512 + 100 )) 10)" FAR-NEEDLE
check "no wrap" "$(get $(( 1000 * 512 )) 512 | tr -d '\0' | wc -c)" 0
check "no wrap of copy" "$(get $(( 6 * 512 )) 4096 | tr -d '\0' | wc -c)" 0
echo PASS
