#!/bin/sh
# Runs a link and keeps the linker's trace of every file it read in <trace>: the program's
# third-party notices are made from it.  traced_link.sh <trace> <link command...>
trace=$1
shift
if "$@" -Wl,--trace >"$trace.new"; then
  mv "$trace.new" "$trace"
else
  status=$?
  cat "$trace.new"
  exit $status
fi
