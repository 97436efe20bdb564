#!/usr/bin/env bash
# Writes the Windows zip from the cross build as `make package` does, and checks what it holds: both
# programs as built, the controller support files as raid\, and each program's reference as a web page.
#   windows_zip_test.sh BIN_DIR SOURCE_DIR PANDOC
set -u
bin=$1
source=$2
pandoc=$3

for program in arrayplan drvstage; do
  if [ ! -f "$bin/$program.exe" ]; then
    echo "skipped: $bin holds no $program.exe (make windows builds it with the MinGW-w64 cross compiler)"
    exit 77
  fi
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
zip=$scratch/kittools-test-windows.zip
cmake -DBIN_DIR="$bin" -DSOURCE_DIR="$source" -DPANDOC="$pandoc" -DWORK_DIR="$scratch/work" -DOUTPUT="$zip" \
  -P "$source/cmake/WindowsZip.cmake" || exit 1
mkdir "$scratch/unpacked"
(cd "$scratch/unpacked" && cmake -E tar xf "$zip") || exit 1
top=$scratch/unpacked/kittools-test-windows
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

for program in arrayplan drvstage; do
  cmp -s "$bin/$program.exe" "$top/$program.exe" || fail "$program.exe in the zip is not the one built"
  page=$top/reference/$program.html
  grep -q "<title>$program</title>" "$page" 2>/dev/null || fail "the zip has no reference page $program.html"
  grep -q "<h2[^>]*>Running it</h2>" "$page" || fail "$program.html lacks the reference's sections"
done
diff -r "$source/data/raid" "$top/raid" >/dev/null || fail "raid\\ in the zip differs from data/raid"
[ "$(ls "$top" | tr '\n' ' ')" = "arrayplan.exe drvstage.exe raid reference " ] ||
  fail "the zip holds more than the programs, raid\\ and reference\\: $(ls "$top")"

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "the Windows zip holds both programs, raid\\ and the reference"
