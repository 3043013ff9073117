#!/usr/bin/env bash
# Compares the rendered skin pictures with the references. With VIREON_UPDATE_SKIN_REFERENCES=1 the
# renders become the new references instead (a conscious change of the look).
# Usage: compare_shots.sh SHOT_DIR REFERENCE_DIR
set -u
shots=$1
refs=$2
status=0
for shot in "$shots"/*.bmp; do
    name=$(basename "$shot" .bmp)
    ref="$refs/$name.png"
    if [ "${VIREON_UPDATE_SKIN_REFERENCES:-0}" = 1 ]; then
        convert "$shot" -strip "$ref" && echo "updated $ref"
        continue
    fi
    if [ ! -f "$ref" ]; then
        echo "no reference picture for $name ($ref)"
        status=1
        continue
    fi
    total=$(identify -format '%[fx:w*h]' "$ref")
    # Pixels that differ by more than a faint shade; anti-aliasing noise stays below the limit.
    differing=$(compare -metric AE -fuzz 6% "$shot" "$ref" null: 2>&1)
    limit=$((total / 2000))
    if ! [[ "$differing" =~ ^[0-9]+$ ]] || [ "$differing" -gt "$limit" ]; then
        echo "$name differs from its reference: $differing of $total pixels (limit $limit)"
        compare -fuzz 6% "$shot" "$ref" "$shots/$name-diff.png" 2>/dev/null
        status=1
    else
        echo "$name matches its reference ($differing of $total pixels differ)"
    fi
done
exit $status
