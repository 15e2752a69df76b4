#!/usr/bin/env bash
# Writes a 16-colour .ico from the pixel text of icon.txt.
# Usage: make_icon.sh icon.txt out.ico
set -euo pipefail
src=$1 out=$2

# The standard 16-colour palette as RRGGBB; the icon stores blue, green, red, 0.
palette=(000000 800000 008000 808000 000080 800080 008080 c0c0c0
         808080 ff0000 00ff00 ffff00 0000ff ff00ff 00ffff ffffff)

sizes=() rows=()
while IFS= read -r line || [ -n "$line" ]; do
  case $line in
    '#'*|'') continue ;;
    'image '*) sizes+=("${line#image }") ;;
    *) rows+=("$line") ;;
  esac
done < "$src"

hex=''
le16() { hex+=$(printf '%02x%02x' $(($1 & 255)) $(($1 >> 8 & 255))); }
le32() { hex+=$(printf '%02x%02x%02x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255))); }
stride() { echo $(( ($1 + 31) / 32 * 4 )); }   # bytes per row of a bpp-bit-wide row, DWORD aligned

image_bytes() {   # size -> bytes of header, palette, colour bits and mask
  local n=$1
  echo $(( 40 + 64 + $(stride $((n * 4))) * n + $(stride n) * n ))
}

count=${#sizes[@]}
[ "$count" -gt 0 ] || { echo "make_icon: no image in $src" >&2; exit 1; }

# ICONDIR and one ICONDIRENTRY per image.
le16 0; le16 1; le16 "$count"
offset=$((6 + 16 * count))
for n in "${sizes[@]}"; do
  hex+=$(printf '%02x%02x%02x%02x' "$n" "$n" 16 0)
  le16 1; le16 4; le32 "$(image_bytes "$n")"; le32 "$offset"
  offset=$((offset + $(image_bytes "$n")))
done

first=0
for n in "${sizes[@]}"; do
  img=("${rows[@]:first:n}")
  first=$((first + n))
  [ "${#img[@]}" -eq "$n" ] || { echo "make_icon: image $n has ${#img[@]} rows" >&2; exit 1; }
  for row in "${img[@]}"; do
    [ "${#row}" -eq "$n" ] || { echo "make_icon: row of ${#row} pixels in image $n: $row" >&2; exit 1; }
    [[ $row =~ ^[0-9a-f.]+$ ]] || { echo "make_icon: bad pixel in: $row" >&2; exit 1; }
  done
  # BITMAPINFOHEADER: the height counts the colour rows and the mask rows.
  le32 40; le32 "$n"; le32 $((2 * n)); le16 1; le16 4; le32 0
  le32 $(( $(stride $((n * 4))) * n + $(stride n) * n )); le32 0; le32 0; le32 0; le32 0
  for c in "${palette[@]}"; do hex+="${c:4:2}${c:2:2}${c:0:2}00"; done
  # Colour rows, bottom row first, two pixels a byte; transparent pixels are 0.
  for ((y = n - 1; y >= 0; y--)); do
    row=${img[y]//./0}
    hex+=$row
    pad=$(( $(stride $((n * 4))) - n / 2 ))
    for ((p = 0; p < pad; p++)); do hex+=00; done
  done
  # Mask rows, bottom row first: 1 where transparent.
  for ((y = n - 1; y >= 0; y--)); do
    row=${img[y]} bits=0 nbits=0 bytes=0
    for ((x = 0; x < n; x++)); do
      bits=$((bits << 1))
      if [ "${row:x:1}" = . ]; then bits=$((bits | 1)); fi
      nbits=$((nbits + 1))
      if [ "$nbits" -eq 8 ]; then hex+=$(printf '%02x' "$bits"); bits=0 nbits=0 bytes=$((bytes + 1)); fi
    done
    for ((p = bytes; p < $(stride n); p++)); do hex+=00; done
  done
done

# Hex pairs to bytes.
: > "$out"
for ((i = 0; i < ${#hex}; i += 2048)); do
  chunk=${hex:i:2048}
  printf "$(sed 's/../\\x&/g' <<<"$chunk")" >> "$out"
done
