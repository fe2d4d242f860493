# A private X server for a machine without a display, sourced by scripts/run
# and by its test. TigerVNC's Xvnc serves the screen over VNC on 127.0.0.1
# only, behind a password made fresh for this start; the X display itself
# needs this start's authority cookie, so other local users can neither watch
# the window nor open the display.
#
#   private_display_start PORT   starts the server; sets DISPLAY, XAUTHORITY,
#                                PRIVATE_DISPLAY_PASSWORD and
#                                PRIVATE_DISPLAY_PASSWORD_FILE; prints an error
#                                and returns 1 when the server did not start
#   private_display_stop         ends the server and removes its files

private_display_dir=""
private_display_pid=""

# Eight letters and digits: VNC passwords are cut at eight characters.
private_display_random_password() {
  local password=""
  while [ ${#password} -lt 8 ]; do
    password+=$(head -c 64 /dev/urandom | tr -dc 'A-Za-z0-9' | head -c $((8 - ${#password})))
  done
  printf '%s' "$password"
}

private_display_start() {
  local port=$1
  private_display_dir=$(mktemp -d "${TMPDIR:-/tmp}/netwarden-display.XXXXXX")
  chmod 700 "$private_display_dir"
  local server_authority="$private_display_dir/server-auth"
  local authority="$private_display_dir/Xauthority"
  local password_file="$private_display_dir/vnc-password"
  local obfuscated="$private_display_dir/vnc-passwd"
  local log="$private_display_dir/Xvnc.log"
  local ready="$private_display_dir/display"

  (
    umask 077
    PRIVATE_DISPLAY_PASSWORD=$(private_display_random_password)
    printf '%s\n' "$PRIVATE_DISPLAY_PASSWORD" >"$password_file"
    printf '%s\n' "$PRIVATE_DISPLAY_PASSWORD" | vncpasswd -f >"$obfuscated"
    : >"$server_authority"
    : >"$authority"
  )
  PRIVATE_DISPLAY_PASSWORD=$(cat "$password_file")
  PRIVATE_DISPLAY_PASSWORD_FILE=$password_file
  # The server takes every cookie of its authority file whatever display the
  # entry names; the display is only known once the server runs.
  local cookie
  cookie=$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')
  xauth -q -f "$server_authority" add :0 . "$cookie"

  # -displayfd lets the server take the first free display and say which one
  # once it accepts connections, so it can never end up on a display that
  # somebody else's server already holds.
  exec {ready_fd}>"$ready"
  Xvnc -displayfd "$ready_fd" -auth "$server_authority" -localhost -rfbport "$port" \
    -SecurityTypes VncAuth -PasswordFile "$obfuscated" -geometry 1280x800 -depth 24 \
    -nolisten tcp >"$log" 2>&1 &
  private_display_pid=$!
  exec {ready_fd}>&-

  local number=""
  for _ in $(seq 100); do
    number=$(tr -dc '0-9' <"$ready")
    [ -n "$number" ] && break
    if ! kill -0 "$private_display_pid" 2>/dev/null; then
      break
    fi
    sleep 0.1
  done
  if [ -z "$number" ] || ! kill -0 "$private_display_pid" 2>/dev/null; then
    echo "The private X server did not start (port $port may be in use; NETWARDEN_VNC_PORT picks another):" >&2
    sed 's/^/  /' "$log" | tail -n 5 >&2
    private_display_stop
    return 1
  fi

  export DISPLAY=":$number"
  export XAUTHORITY="$authority"
  xauth -q -f "$authority" add "$DISPLAY" . "$cookie"
  # Only the server started here knows the cookie: make sure it is the one
  # that answers on this display.
  if ! xdpyinfo >/dev/null 2>&1; then
    echo "The private X server on $DISPLAY does not accept this start's cookie." >&2
    private_display_stop
    return 1
  fi
}

private_display_stop() {
  if [ -n "$private_display_pid" ]; then
    kill "$private_display_pid" 2>/dev/null || true
    wait "$private_display_pid" 2>/dev/null || true
    private_display_pid=""
  fi
  if [ -n "$private_display_dir" ]; then
    rm -rf "$private_display_dir"
    private_display_dir=""
  fi
}
