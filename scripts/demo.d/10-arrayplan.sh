#!/usr/bin/env bash
# arrayplan on the example inventory and policies; shows what it wrote.
# Arguments: the folder of the built programs, the scratch folder for the outputs.
set -uo pipefail
bin=$1
out=$2/arrayplan
mkdir -p "$out"
echo "=== arrayplan: examples/arrayplan/inventory.ini with examples/arrayplan/policies.ini"
"$bin/arrayplan" /ini:examples/arrayplan/inventory.ini /inp:examples/arrayplan/policies.ini \
    "/outi:$out/inventory-out.ini" "/outp:$out/policies-out.ini" /raid:data/raid
echo "=== arrayplan exit status: $?"
for file in "$out/inventory-out.ini" "$out/policies-out.ini"; do
    echo
    if [ -s "$file" ]; then
        echo "=== $file"
        cat "$file"
    else
        echo "=== $file: not written"
    fi
done
