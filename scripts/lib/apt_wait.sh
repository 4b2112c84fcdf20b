# apt_wait COMMAND...: runs an apt-get command, waiting while another package manager holds apt's
# locks (a fresh system's automatic updates, say), for NUMERAK_APT_WAIT seconds at most (300);
# then it gives up, saying why. Any other failure is told at once.
apt_wait() {
  local limit=${NUMERAK_APT_WAIT:-300} poll=${NUMERAK_APT_POLL:-5} waited=0 errors  # whole seconds
  errors=$(mktemp)
  until "$@" 2>"$errors"; do
    if ! grep -q "Could not get lock" "$errors"; then
      cat "$errors" >&2
      rm -f "$errors"
      return 1
    fi
    if [ "$waited" -ge "$limit" ]; then
      echo "deps: the package manager is still busy after $limit seconds; try again once it is done:" >&2
      cat "$errors" >&2
      rm -f "$errors"
      return 1
    fi
    if [ "$waited" -eq 0 ]; then
      echo "deps: waiting for another package manager to finish ($limit seconds at most):" >&2
      grep -m1 "Could not get lock" "$errors" >&2
    fi
    sleep "$poll"
    waited=$((waited + poll))
  done
  cat "$errors" >&2  # apt's warnings
  rm -f "$errors"
}
