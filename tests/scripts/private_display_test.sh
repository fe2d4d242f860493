#!/usr/bin/env bash
# The private display of scripts/run: VNC only with this start's password,
# the X display only with this start's cookie, and a server of its own even
# when another one already holds the first display.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/private-display.sh"

if ! command -v Xvnc >/dev/null || ! command -v vncpasswd >/dev/null; then
  echo "Xvnc or vncpasswd missing: run scripts/setup"
  exit 1
fi

fail() { echo "FAIL: $*"; exit 1; }
byte() { head -c 1 <&3 | od -An -tu1 | tr -d ' '; }

# Someone else's server on the first displays: ours must not land on it.
Xvfb :0 -nolisten tcp >/dev/null 2>&1 &
other=$!
trap 'kill $other 2>/dev/null || true; private_display_stop' EXIT
sleep 0.5

port=$((20000 + RANDOM % 10000))
private_display_start "$port" || fail "the private display did not start"
[ "$DISPLAY" != ":0" ] || fail "the private display took the display another server holds"
[ "$(stat -c %a "$PRIVATE_DISPLAY_PASSWORD_FILE")" = 600 ] || fail "the password file is readable by others"
[ ${#PRIVATE_DISPLAY_PASSWORD} -eq 8 ] || fail "the password is not eight characters"

xdpyinfo >/dev/null 2>&1 || fail "the display refuses this start's cookie"
if XAUTHORITY=/dev/null xdpyinfo >/dev/null 2>&1; then
  fail "the display accepts a client without the cookie"
fi

# RFB: the server offers VNC authentication only; a client that asks for no
# authentication is turned away, and a wrong answer to the challenge fails.
exec 3<>"/dev/tcp/127.0.0.1/$port"
version=$(head -c 12 <&3)
[[ $version == "RFB 003.00"* ]] || fail "no RFB greeting: $version"
printf 'RFB 003.008\n' >&3
count=$(byte)
types=()
for _ in $(seq "$count"); do types+=("$(byte)"); done
[ "${types[*]}" = "2" ] || fail "security types offered: ${types[*]} (want only 2, VNC authentication)"
printf '\001' >&3
if head -c 4 <&3 | od -An -tu1 | grep -q '^ *0 *0 *0 *0$'; then
  fail "the server accepted a client without authentication"
fi
exec 3<&-

exec 3<>"/dev/tcp/127.0.0.1/$port"
head -c 12 <&3 >/dev/null
printf 'RFB 003.008\n' >&3
count=$(byte)
head -c "$count" <&3 >/dev/null
printf '\002' >&3
head -c 16 <&3 >/dev/null
head -c 16 /dev/zero >&3
result=$(head -c 4 <&3 | od -An -tu1 | tr -s ' ')
[ "$result" = " 0 0 0 1" ] || fail "a wrong password gave security result '$result'"
exec 3<&-
echo "private display: password, cookie and own server checked on $DISPLAY"
