#!/bin/sh
# Runs one command of a link rule. The compiler driver's, which links, keeps the linker's trace of
# every file it read in <trace>: the program's third-party notices are made from it. Any other
# (Makefiles remove and archive the objects first) runs as it is.
#   traced_link.sh <trace> <compiler driver> <command...>
trace=$1
driver=$2
shift 2
[ "$1" = "$driver" ] || exec "$@"
if "$@" -Wl,--trace >"$trace.new"; then
  mv "$trace.new" "$trace"
else
  status=$?
  cat "$trace.new"
  exit $status
fi
