#!/usr/bin/env bash
# compare-cli.sh CASES NATIVE_CLI WINDOWS_RUNNER...: runs every case of CASES with this system's
# wallcalc-cli and with the Windows one (WINDOWS_RUNNER..., e.g. the Wine runner and the .exe)
# and fails unless both print the same bytes on standard output and end with the same status.
set -uo pipefail
export LC_ALL=C.UTF-8
cases=$1 native=$2
shift 2
runner=("$@")
if [[ ! -x "$native" ]]; then
  echo "this system's wallcalc-cli is not built at $native: nothing to compare with"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

count=0 failed=0
while IFS= read -r line; do
  [[ -z "${line// /}" || "$line" == \#* ]] && continue
  eval "set -- $line"
  name=$1
  shift
  "$native" "$@" >"$work/native" 2>/dev/null
  native_status=$?
  "${runner[@]}" "$@" >"$work/windows" 2>/dev/null
  windows_status=$?
  count=$((count + 1))
  if [[ $native_status != "$windows_status" ]] || ! cmp -s "$work/native" "$work/windows"; then
    failed=$((failed + 1))
    echo "DIFFERS: $name (status $native_status here, $windows_status on Windows)"
    diff <(od -c "$work/native") <(od -c "$work/windows") | head -20
  fi
done <"$cases"

echo "$count cases, $failed differ"
[[ $count -gt 0 && $failed -eq 0 ]]
