#!/usr/bin/env bash
# Reads the linker's trace of a program's link and fails when a file it took from outside the
# project (an archive of the toolchain, its start-up objects) has no section in the program's
# third-party notices: check_notices.sh <link trace> <THIRD-PARTY-NOTICES.txt>.
set -euo pipefail
trace=$1 notices=$2
[ -s "$trace" ] || { echo "no link trace at $trace"; exit 1; }
covered=$(sed -n 's/^Linked: //p' "$notices" | tr ' ' '\n')
outside=$(grep '^/' "$trace" | sed 's/(.*)$//' | xargs -n1 basename | sort -u)
missing=$(comm -23 <(echo "$outside") <(sort -u <<<"$covered"))
if [ -n "$missing" ]; then
  echo "linked, with no notice: $(echo $missing)"
  exit 1
fi
echo "every one of the $(wc -l <<<"$outside") files linked from outside the project has its notice"
