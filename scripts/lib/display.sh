# Sourced by the scripts that need a virtual display. start_display starts an Xvfb of our own,
# lets the server choose a free display number and waits until it accepts connections: Xvfb
# writes the number to the -displayfd pipe only once it is ready. -noreset keeps the server
# from resetting, and refusing connections meanwhile, each time its last client leaves.
# Sets DISPLAY and XVFB_PID. start_display [WIDTHxHEIGHT]: the screen's size, 1024x768 unless given.
start_display() {
  local numberfile size=${1:-1024x768}
  numberfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$numberfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n=""
  for _ in $(seq 200); do
    # The number is whole once its line has ended.
    if [ "$(wc -l <"$numberfile")" -ge 1 ]; then n=$(tr -dc 0-9 <"$numberfile"); break; fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$numberfile"
  if [ -z "$n" ]; then
    echo "no virtual display could be started" >&2
    kill "$XVFB_PID" 2>/dev/null || true
    return 1
  fi
  # And one real connection before anyone else is told.
  for _ in $(seq 100); do
    xdpyinfo -display ":$n" >/dev/null 2>&1 && { export DISPLAY=":$n"; return 0; }
    sleep 0.05
  done
  echo "the virtual display :$n does not answer" >&2
  kill "$XVFB_PID" 2>/dev/null || true
  return 1
}

# Stops the display and waits until it has gone, so that the next one started cannot lose its
# socket to this one's clean-up.
stop_display() {
  [ -n "${XVFB_PID:-}" ] || return 0
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
}
