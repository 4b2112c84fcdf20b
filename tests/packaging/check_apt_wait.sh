#!/usr/bin/env bash
# scripts/deps.sh waits while another package manager holds apt's locks, says so once, goes on
# when they are free, and gives up after its limit; any other failure ends it at once. Played
# with a stand-in for apt-get that fails as apt-get does.
#   check_apt_wait.sh <source folder>
set -euo pipefail
. "$1/scripts/lib/apt_wait.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export NUMERAK_APT_POLL=1

# Fails as a locked apt-get does until it has been called $1 times, then succeeds.
cat >"$work/apt-get" <<'STUB'
#!/usr/bin/env bash
count=$(($(cat "$STUB_COUNT" 2>/dev/null || echo 0) + 1))
echo "$count" >"$STUB_COUNT"
if [ "$count" -le "$STUB_LOCKED" ]; then
  echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 4242 (unattended-upgr)" >&2
  exit 100
fi
[ -z "${STUB_OTHER:-}" ] || { echo "E: Unable to locate package $STUB_OTHER" >&2; exit 100; }
echo "W: a warning apt gave" >&2
STUB
chmod +x "$work/apt-get"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Locked three times, then free: it waits, says why once, and succeeds with apt's warnings shown.
export STUB_COUNT=$work/count STUB_LOCKED=3
NUMERAK_APT_WAIT=60 apt_wait "$work/apt-get" 2>"$work/said" || fail "it gave up while the lock came free"
[ "$(cat "$work/count")" = 4 ] || fail "apt-get ran $(cat "$work/count") times, not 4"
[ "$(grep -c "waiting for another package manager" "$work/said")" = 1 ] || fail "it did not say once why it waits"
grep -q "held by process 4242 (unattended-upgr)" "$work/said" || fail "it did not say who holds the lock"
grep -q "W: a warning apt gave" "$work/said" || fail "apt's warnings were lost"

# Locked for longer than the limit: it gives up, saying why.
rm -f "$work/count"
export STUB_LOCKED=1000
if NUMERAK_APT_WAIT=1 apt_wait "$work/apt-get" 2>"$work/said"; then fail "it went on while the lock was held"; fi
grep -q "still busy after 1 seconds" "$work/said" || fail "it gave up without saying why"

# Another failure is told at once, without waiting.
rm -f "$work/count"
export STUB_LOCKED=0 STUB_OTHER=no-such-package
if NUMERAK_APT_WAIT=60 apt_wait "$work/apt-get" 2>"$work/said"; then fail "a failure passed"; fi
[ "$(cat "$work/count")" = 1 ] || fail "it tried again after a failure that is not a lock"
grep -q "Unable to locate package no-such-package" "$work/said" || fail "apt's own error was lost"
echo "apt_wait: waits for the lock, gives up after its limit, tells any other failure at once"
