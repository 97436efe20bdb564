#!/usr/bin/env bash
# arrayplan on the example inventories and policies; shows what it wrote.
# Arguments: the folder of the built programs, the scratch folder for the outputs.
set -uo pipefail
bin=$1
out=$2/arrayplan
mkdir -p "$out"

# run <inventory> <policies> <output name>: one validation into $out/<name>-inventory.ini and -policies.ini
run() {
    echo "=== arrayplan: $1 with $2"
    "$bin/arrayplan" "/ini:$1" "/inp:$2" "/outi:$out/$3-inventory.ini" "/outp:$out/$3-policies.ini" /raid:data/raid
    echo "=== arrayplan exit status: $?"
}

show() {
    echo
    if [ -s "$1" ]; then
        echo "=== $1"
        cat "$1"
    else
        echo "=== $1: not written"
    fi
    echo
}

# A hand-written policy with explicit drives, and a policy the planner completes.
run examples/arrayplan/inventory.ini examples/arrayplan/policies.ini fileserver
show "$out/fileserver-inventory.ini"
show "$out/fileserver-policies.ini"

# Hand-written policies that leave the drives to the controller families; one controller has no policy.
run examples/arrayplan/rack-inventory.ini examples/arrayplan/rack-policies.ini rack
show "$out/rack-inventory.ini"
show "$out/rack-policies.ini"

# The generated policies read back: the same configuration again, appended under the next free names.
run examples/arrayplan/rack-inventory.ini "$out/rack-policies.ini" rack
echo "=== policies now in $out/rack-policies.ini:"
grep '^\[' "$out/rack-policies.ini"
