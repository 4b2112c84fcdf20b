#!/usr/bin/env bash
# numerak.exe as players get it is hardened and carries no build time: address-space
# randomisation (high-entropy too), no-execute data, the stack protector linked in, and a zero
# timestamp in its header: check_exe.sh <objdump> <numerak.exe>.
set -euo pipefail
objdump=$1 exe=$2
header=$("$objdump" -p "$exe")
status=0
for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
  if grep -q -w "$flag" <<<"$header"; then echo "ok   $flag"; else echo "FAIL no $flag"; status=1; fi
done
# The stack protector's report is in the program only when the protector's library is.
if grep -a -q "stack smashing detected" "$exe"; then echo "ok   the stack protector"; else
  echo "FAIL no stack protector"; status=1; fi
if grep -q "^Time/Date.*1970" <<<"$header"; then echo "ok   no timestamp"; else
  echo "FAIL $(grep "^Time/Date" <<<"$header")"; status=1; fi
exit $status
