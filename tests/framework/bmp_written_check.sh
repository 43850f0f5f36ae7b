#!/bin/sh
# Checks the BMP files the bitmap writes with a reader nobody here wrote: each sample is read and
# written again by bmp_resave under Wine, then ImageMagick's decode of the written file must equal,
# byte for byte, its decode of the sample; the written file keeps the sample's depth and declares
# its own length.
# Usage: bmp_written_check.sh WINE RESAVE_EXE CONVERT DATA_DIR OUT_DIR NAME...
set -eu
wine=$1 resave=$2 convert=$3 data=$4 out=$5
shift 5
mkdir -p "$out"
failed=0
for name in "$@"; do
  rm -f "$out/$name.bmp" "$out/$name.ppm"
  if ! "$wine" "$resave" "Z:$data/$name.bmp" "Z:$out/$name.bmp"; then
    echo "$name: the bitmap could not read and write the sample"
    failed=1
    continue
  fi
  if ! "$convert" "$out/$name.bmp" -alpha off -depth 8 "ppm:$out/$name.ppm"; then
    echo "$name: ImageMagick cannot read the written file"
    failed=1
    continue
  fi
  if ! cmp -s "$out/$name.ppm" "$data/$name.ppm"; then
    echo "$name: ImageMagick reads other pixels from the written file than from the sample"
    failed=1
  fi
  # The bits per pixel of the file header (offset 28), as ImageMagick's reader also sees it.
  written=$(od -An -tu2 -j28 -N2 "$out/$name.bmp" | tr -d ' ')
  sample=$(od -An -tu2 -j28 -N2 "$data/$name.bmp" | tr -d ' ')
  if [ "$written" != "$sample" ]; then
    echo "$name: written at $written bits per pixel, the sample has $sample"
    failed=1
  fi
  declared=$(od -An -tu4 -j2 -N4 "$out/$name.bmp" | tr -d ' ')
  actual=$(wc -c <"$out/$name.bmp" | tr -d ' ')
  if [ "$declared" != "$actual" ]; then
    echo "$name: the header declares $declared bytes, the file has $actual"
    failed=1
  fi
  echo "$name: checked ($written bits per pixel)"
done
exit $failed
