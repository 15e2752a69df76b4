#!/usr/bin/env bash
# Times `kelvara identify` on a 1 GiB file held in the page cache against `openssl md5` on
# the same file, alternating which goes first, and prints the ratio of their times
# (below 1.00: kelvara is faster).
# Usage: bench/identify_vs_openssl.sh [path/to/kelvara]   (ROUNDS=5 SIZE_MIB=1024 by default)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
kelvara=${1:-$here/../build/native/cli/kelvara}
rounds=${ROUNDS:-5}
size_mib=${SIZE_MIB:-1024}
[ -x "$kelvara" ] || { echo "no kelvara at $kelvara: build the native preset first" >&2; exit 1; }
command -v openssl >/dev/null || { echo "openssl is not installed" >&2; exit 1; }

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
file=$dir/target.bin
# Incompressible bytes, so nothing below can take a shortcut.
# (The generator ends on a broken pipe once head has enough.)
{ openssl enc -aes-128-ctr -nosalt -pass pass:kelvara -in /dev/zero 2>/dev/null || true; } | head -c $((size_mib << 20)) > "$file"
[ "$(wc -c < "$file")" -eq $((size_mib << 20)) ] || { echo "could not make the test file" >&2; exit 1; }
cat "$file" > /dev/null   # into the page cache

ours=$("$kelvara" identify "$file" | sed -n 's/^  MD5: *//p' || true)
theirs=$(openssl md5 -r "$file" | cut -d' ' -f1)
[ "$ours" = "$theirs" ] || { echo "digests differ: kelvara $ours, openssl $theirs" >&2; exit 1; }

now() { date +%s%N; }
time_kelvara() { local t=$(now); "$kelvara" identify "$file" > /dev/null || true; echo $(( $(now) - t )); }
time_openssl() { local t=$(now); openssl md5 "$file" > /dev/null; echo $(( $(now) - t )); }

total_k=0; total_o=0
printf 'file %d MiB, %d rounds\n' "$size_mib" "$rounds"
for round in $(seq "$rounds"); do
  if [ $((round % 2)) -eq 1 ]; then k=$(time_kelvara); o=$(time_openssl); else o=$(time_openssl); k=$(time_kelvara); fi
  total_k=$((total_k + k)); total_o=$((total_o + o))
  awk -v r="$round" -v k="$k" -v o="$o" 'BEGIN { printf "round %d: kelvara %.3f s, openssl md5 %.3f s, ratio %.3f\n", r, k/1e9, o/1e9, k/o }'
done
awk -v k="$total_k" -v o="$total_o" 'BEGIN { printf "kelvara identify / openssl md5, total time: %.3f\n", k/o }'
