#!/usr/bin/env bash
# Stages the example driver set for two machine types and lists what was staged.
# Arguments: the folder of the built programs, the scratch folder for the output.
set -euo pipefail
bin=$1
out=$2/drvstage
source=examples/driverset

echo
echo "=== drvstage: staging $source for machine types 8840 and 7100 into $out"
status=0
"$bin/drvstage" "$source" "$out" /M:8840,7100 || status=$?
echo "=== drvstage finished with exit status $status; the staged tree:"
[ "$status" -eq 0 ] || exit "$status"
(cd "$out" && find . -type f | sort | sed 's|^\./|  |')
echo "=== the support lists after staging:"
for file in "$out/DrvSet.ini" "$out"/*/DrvInfo.ini; do
  printf '  %-34s %s\n' "${file#"$out"/}" "$(grep -E '^(Supported|Unsupported) Systems' "$file" | tr '\n' ' ')"
done
