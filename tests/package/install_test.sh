#!/usr/bin/env bash
# Installs the package into a scratch root with dpkg and runs the programs from there: each program's
# help, arrayplan on the installed examples with the installed support files, stagedesk finding its kit
# through --home and STAGEDESK_HOME, the desktop entry's program and icon, and every manual page under man.
#   install_test.sh PACKAGE SOURCE_DIR
set -u
package=$1
source=$2

for tool in dpkg man lexgrog; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed (scripts/install-deps installs it)"
    exit 77
  fi
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg -x "$package" "$root" || exit 1
bin=$root/usr/bin
share=$root/usr/share
doc=$share/doc/kittools
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# expect STATUS TEXT COMMAND...: the command ends with STATUS and its output holds TEXT.
expect() {
  local status=$1 text=$2
  shift 2
  local output
  output=$("$@" 2>&1 </dev/null)
  local got=$?
  [ "$got" -eq "$status" ] || fail "$* ended with $got, not $status: $output"
  grep -qF -- "$text" <<<"$output" || fail "$* did not print '$text': $output"
}

# The installed support files and examples are the tree's own.
diff -r "$source/data/raid" "$share/kittools/raid" >/dev/null || fail "the installed support files differ from data/raid"
diff -r "$source/examples" "$doc/examples" >/dev/null || fail "the installed examples differ from examples/"

kit=$scratch/kit
cp -R "$doc/examples/kit" "$kit"

expect 0 "Command Line Tool for RAID VALIDATION" "$bin/arrayplan" "/?"
expect 1 "Device Driver Copy Tool" "$bin/drvstage" "/?"
expect 2 "Usage: stagedesk --console" env STAGEDESK_HOME="$kit/stagedesk" "$bin/stagedesk" --console --help

# arrayplan from the installed files writes what it writes from the source tree.
for example in "" rack-; do
  for run in installed source; do
    if [ $run = installed ]; then examples=$doc/examples/arrayplan raid=$share/kittools/raid; else
      examples=$source/examples/arrayplan raid=$source/data/raid; fi
    mkdir -p "$scratch/$run"
    expect 0 "Validation Completed" "$bin/arrayplan" "/ini:$examples/${example}inventory.ini" \
      "/inp:$examples/${example}policies.ini" "/outi:$scratch/$run/${example}inventory.ini" \
      "/outp:$scratch/$run/${example}policies.ini" "/raid:$raid"
  done
  for file in inventory policies; do
    cmp -s "$scratch/installed/$example$file.ini" "$scratch/source/$example$file.ini" ||
      fail "arrayplan on the installed ${example}$file differs from the run on the source tree"
  done
done

# stagedesk in /usr/bin holds no kit: --home, then STAGEDESK_HOME, name it.
copy=(--console --task utilities --item "Sample RAID Utility" --source "$kit/media/raidutil")
expect 1 "The program's folder, $bin, is not a configurator folder" env -u STAGEDESK_HOME "$bin/stagedesk" "${copy[@]}" --dest RAIDUTIL
expect 1 "The folder that STAGEDESK_HOME names, $kit, is not a configurator folder" env STAGEDESK_HOME="$kit" "$bin/stagedesk" "${copy[@]}" --dest RAIDUTIL
expect 0 "File copy process completed successfully." env STAGEDESK_HOME="$kit/stagedesk" "$bin/stagedesk" "${copy[@]}" --dest RAIDUTIL
[ -f "$kit/utils/RAIDUTIL/RAIDCFG.EXE" ] || fail "stagedesk with STAGEDESK_HOME did not copy into its kit"
expect 0 "File copy process completed successfully." env STAGEDESK_HOME="$scratch/nowhere" "$bin/stagedesk" "${copy[@]}" --home "$kit/stagedesk" --dest RAIDUT2
[ -f "$kit/utils/RAIDUT2/RAIDCFG.EXE" ] || fail "stagedesk with --home did not copy into its kit"

entry=$share/applications/stagedesk.desktop
[ -x "$bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")" ] || fail "the desktop entry's Exec names no installed program"
[ -f "$share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$entry").svg" ] || fail "the desktop entry's Icon is not installed"

for program in arrayplan drvstage stagedesk; do
  page=$share/man/man1/$program.1.gz
  [ -f "$page" ] || { fail "no manual page $program(1)"; continue; }
  rendered=$(MANWIDTH=80 man -l "$page" 2>/dev/null) || fail "man -l $program.1.gz failed"
  grep -q "^NAME$" <<<"$rendered" || fail "$program(1) has no NAME section"
  grep -q "^DESCRIPTION$" <<<"$rendered" || fail "$program(1) has no DESCRIPTION section"
  lexgrog "$page" | grep -qF "\"$program - " || fail "whatis cannot read the NAME line of $program(1)"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "installed $(basename "$package") into a scratch root: every check passed"
