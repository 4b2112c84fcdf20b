#!/usr/bin/env bash
# What happens to Numerak on Windows after its first install, under wine in a fresh prefix: an
# install for all users protects its folder before it writes anything, and where it cannot, stops
# (wine keeps no ACLs: a stand-in for icacls.exe records what the installer asks of it, and fails
# when told to); the next version (built from the same tree) upgrades it in the folder chosen before, removing the
# previous version's files by their names and running nothing from its folder (the ran helper,
# planted there as Uninstall.exe, leaves Uninstall.exe.ran if it is run); neither the installer nor
# the uninstaller touches anything while a game runs, in this session or in another (whose game's
# mutex only the global namespace shows: the mutex helper holds one there); an older version is
# refused; and a player can install it for themselves alone.
#   check_installer_life.sh <build folder> <wine> <mutex_helper.exe> <ran_helper.exe> <icacls stand-in>.
# Needs a display.
set -euo pipefail
build=$1 wine=$2 mutex_helper=$3 ran_helper=$4 icacls=$5
cd "$build"
rm -f numerak-*-win64.exe
cpack -G NSIS64 >/dev/null
version=$(ls numerak-*-win64.exe | sed 's/^numerak-\(.*\)-win64\.exe$/\1/')
IFS=. read -r major minor revision <<<"$version"
next=$major.$minor.$((revision + 1))
cpack -G NSIS64 -D CPACK_PACKAGE_VERSION="$next" -D CPACK_PACKAGE_FILE_NAME="numerak-$next-win64" \
  -D CPACK_NUMERAK_VERSION_DOTTED="$major.$minor.0.$((revision + 1))" >/dev/null
this=$PWD/numerak-$version-win64.exe newer=$PWD/numerak-$next-win64.exe
echo "installers: $version and $next"

scratch=$(mktemp -d)
# icacls.exe=n: the stand-in put in system32 is run, not wine's own.
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;icacls.exe=n"
game="" held=""
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null || true
  [ -n "$held" ] && kill "$held" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
"$wine" wineboot --init >/dev/null 2>&1
wineserver -w
cp "$icacls" "$WINEPREFIX/drive_c/windows/system32/icacls.exe"
log=$WINEPREFIX/drive_c/windows/system32/icacls.log

status=0
expect() {  # expect <what> <wanted> <got>
  if [ "$2" = "$3" ]; then echo "ok   $1: $3"; else echo "FAIL $1: $3, wanted $2"; status=1; fi
}
code() {  # the exit code of a Windows program (run in place, an uninstaller waits for itself)
  local rc=0
  "$wine" "$@" >/dev/null 2>&1 || rc=$?
  echo "$rc"
}
value() {  # value <key> <name>: a registry value's data, or nothing
  "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
unix() { "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
exists() { [ -e "$1" ] && echo yes || echo no; }
# A file as it is on the disk: both installers carry the same bytes, so a file they rewrite or put
# anew differs from the one before only in its inode and its change time.
identity() { stat -c '%i %z' "$1"; }
planted() { cmp -s "$ran_helper" "$1" && echo yes || echo no; }
# What the installer asks of icacls to protect a folder: owned by Administrators, nothing inherited,
# full control for SYSTEM and Administrators, read and run for Users, each named by its SID.
protection=('/setowner *S-1-5-32-544' '/reset'
            '/inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX')
asked() {  # asked <folder> [<what it held>]: the lines of icacls.log, or the commands alone
  for a in "${protection[@]}"; do echo "\"$1\" $a${2:+ | $2}"; done
}
calls() { if [ -e "$log" ]; then tr -d '\r' <"$log" | sed "${1:+s/ | .*//}"; fi; }
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Numerak'
running='Global\NumerakRunning'  # the game's mutex (NUMERAK_RUNNING_MUTEX)
machine="HKLM\\$key" user="HKCU\\$key"
games=$(unix 'C:\Games\Numerak')

echo "install $version for all users where the folder cannot be protected: /S /AllUsers /D=C:\\Games\\Other"
expect "exit code" 4 "$(NUMERAK_ICACLS_EXIT=5 code "$this" /S /AllUsers '/D=C:\Games\Other')"
expect "icacls asked once" "$(asked 'C:\Games\Other' '(empty)' | head -n 1)" "$(calls)"
expect "nothing written, the folder it made gone" no "$(exists "$(unix 'C:\Games\Other')")"
expect "no entry under Apps" "" "$(value "$machine" DisplayVersion)"
rm -f "$log"

echo "install $version for all users into a folder of the player's: /S /AllUsers /D=C:\\Games\\Numerak"
expect "exit code" 0 "$(code "$this" /S /AllUsers '/D=C:\Games\Numerak')"
expect "icacls asked to protect it before anything was in it" "$(asked 'C:\Games\Numerak' '(empty)')" "$(calls)"
rm -f "$log"
expect "the program" yes "$(exists "$games/numerak.exe")"
expect "its third-party notices" yes "$(exists "$games/THIRD-PARTY-NOTICES.txt")"
expect "InstallLocation" 'C:\Games\Numerak' "$(value "$machine" InstallLocation)"
expect "URLInfoAbout" "https://numerak.example/" "$(value "$machine" URLInfoAbout)"
expect "HelpLink" "https://numerak.example/help" "$(value "$machine" HelpLink)"
recorded='THIRD-PARTY-NOTICES.txt|numerak.exe|Uninstall.exe'
expect "InstalledFiles" "$recorded" "$(value "$machine" InstalledFiles)"
# A file that is not ours, in our folder: no installer counts it, none removes it.
head -c 3000000 /dev/zero >"$games/notes.txt"
ours=0
for f in numerak.exe Uninstall.exe THIRD-PARTY-NOTICES.txt; do ours=$(( ours + $(stat -c %s "$games/$f") / 1024 )); done

echo "with the game running"
"$wine" 'C:\Games\Numerak\numerak.exe' &
game=$!
for _ in $(seq 100); do xdotool search --name "Select New game" >/dev/null 2>&1 && break; sleep 0.2; done
before=$(identity "$games/numerak.exe")
expect "its mutex in the global namespace" 0 "$(code "$mutex_helper" exists "$running")"
expect "installing $next silently: exit code" 2 "$(code "$newer" /S)"
expect "  DisplayVersion" "$version" "$(value "$machine" DisplayVersion)"
expect "  the program untouched" "$before" "$(identity "$games/numerak.exe")"
expect "uninstalling silently: exit code" 2 "$(code 'C:\Games\Numerak\Uninstall.exe' /S '_?=C:\Games\Numerak')"
expect "  the program" yes "$(exists "$games/numerak.exe")"
expect "  the entry under Apps" "$version" "$(value "$machine" DisplayVersion)"
kill "$game"
wait "$game" 2>/dev/null || true
game=""
wineserver -w

echo "with a game running in another session: its mutex held in the global namespace alone"
"$wine" "$mutex_helper" hold "$running" &
held=$!
for _ in $(seq 100); do [ "$(code "$mutex_helper" exists "$running")" = 0 ] && break; sleep 0.1; done
expect "installing $next silently: exit code" 2 "$(code "$newer" /S)"
expect "  DisplayVersion" "$version" "$(value "$machine" DisplayVersion)"
expect "  the program untouched" "$before" "$(identity "$games/numerak.exe")"
expect "uninstalling silently: exit code" 2 "$(code 'C:\Games\Numerak\Uninstall.exe' /S '_?=C:\Games\Numerak')"
expect "  the program" yes "$(exists "$games/numerak.exe")"
kill "$held"
wait "$held" 2>/dev/null || true
held=""
wineserver -w

echo "upgrade to $next: /S, over an entry that records no files, as earlier releases left it, and"
echo "an Uninstall.exe that another user replaced"
"$wine" reg delete "$machine" /v InstalledFiles /f >/dev/null 2>&1 || true  # none, before this change
cp "$ran_helper" "$games/Uninstall.exe"
expect "exit code" 0 "$(code "$newer" /S)"
expect "the planted Uninstall.exe not run" no "$(exists "$games/Uninstall.exe.ran")"
expect "Uninstall.exe this version's" no "$(planted "$games/Uninstall.exe")"
expect "icacls asked to protect the folder again" "$(asked 'C:\Games\Numerak')" "$(calls commands)"
rm -f "$log"
expect "DisplayVersion" "$next" "$(value "$machine" DisplayVersion)"
expect "InstalledFiles" "$recorded" "$(value "$machine" InstalledFiles)"
expect "the folder kept" yes "$(exists "$games/numerak.exe")"
expect "nothing in Program Files" no "$(exists "$(unix 'C:\Program Files\Numerak')")"
expect "EstimatedSize, our files only (KB)" "$ours" "$(( $(value "$machine" EstimatedSize) ))"

echo "install $next again: the files recorded go, by names that reach no further than its folder"
# As a release with a file this one no longer has would have recorded it, and names that no
# installer may follow: out of the folder, a wildcard, a folder.
"$wine" reg add "$machine" /v InstalledFiles /t REG_SZ /f \
  /d "$recorded|old-help.txt|..\outside.txt|C:\Games\outside-too.txt|*.ini|saves" >/dev/null 2>&1
mkdir "$games/saves"
touch "$games/old-help.txt" "$games/../outside.txt" "$games/../outside-too.txt" "$games/settings.ini" \
  "$games/saves/one.sav"
cp "$ran_helper" "$games/Uninstall.exe"
expect "exit code" 0 "$(code "$newer" /S)"
expect "the planted Uninstall.exe not run" no "$(exists "$games/Uninstall.exe.ran")"
expect "Uninstall.exe this version's" no "$(planted "$games/Uninstall.exe")"
expect "the file recorded and no longer installed" no "$(exists "$games/old-help.txt")"
for f in notes.txt ../outside.txt ../outside-too.txt settings.ini saves/one.sav; do
  expect "  a file not named: $f" yes "$(exists "$games/$f")"
done
expect "InstalledFiles" "$recorded" "$(value "$machine" InstalledFiles)"

echo "install $version over $next: /S"
expect "exit code" 3 "$(code "$this" /S)"
expect "DisplayVersion" "$next" "$(value "$machine" DisplayVersion)"

echo "uninstall: Uninstall.exe /S, in place"
expect "exit code" 0 "$(code 'C:\Games\Numerak\Uninstall.exe' /S '_?=C:\Games\Numerak')"
expect "the program" no "$(exists "$games/numerak.exe")"
expect "its third-party notices" no "$(exists "$games/THIRD-PARTY-NOTICES.txt")"
expect "the entry under Apps" "" "$(value "$machine" DisplayVersion)"
for f in notes.txt settings.ini saves/one.sav; do
  expect "the player's own file $f" yes "$(exists "$games/$f")"
done

echo "install $version for this player alone: /S /CurrentUser"
rm -f "$log"
expect "exit code" 0 "$(code "$this" /S /CurrentUser)"
expect "icacls not asked" "" "$(calls)"
local_programs=$(unix "$("$wine" cmd /c echo %LOCALAPPDATA% | tr -d '\r')\\Programs\\Numerak")
start_menu=$(unix "$("$wine" cmd /c echo %APPDATA% | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs")
expect "the program in the player's programs folder" yes "$(exists "$local_programs/numerak.exe")"
expect "the player's entry under Apps" "$version" "$(value "$user" DisplayVersion)"
expect "no entry for all users" "" "$(value "$machine" DisplayVersion)"
expect "the player's Start menu shortcut" yes "$(exists "$start_menu/Numerak.lnk")"
expect "the player's InstalledFiles" "$recorded" "$(value "$user" InstalledFiles)"

# Under wine the player is an administrator, so this installer runs elevated: the uninstaller in
# the player's own folder (named by the player's own registry) must not run with those rights.
echo "install $version again for this player, with an Uninstall.exe the player's programs replaced"
cp "$ran_helper" "$local_programs/Uninstall.exe"
expect "exit code" 0 "$(code "$this" /S /CurrentUser)"
expect "the planted Uninstall.exe not run" no "$(exists "$local_programs/Uninstall.exe.ran")"
expect "Uninstall.exe this version's" no "$(planted "$local_programs/Uninstall.exe")"
location=$(value "$user" InstallLocation)
expect "uninstalling it: exit code" 0 "$(code "$location\\Uninstall.exe" /S "_?=$location")"
expect "  the program" no "$(exists "$local_programs/numerak.exe")"
expect "  the entry" "" "$(value "$user" DisplayVersion)"
expect "  the shortcut" no "$(exists "$start_menu/Numerak.lnk")"
exit $status
