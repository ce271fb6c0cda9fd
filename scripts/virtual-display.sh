# Sourced by the scripts that run Wine's windows: starts a virtual display (Xvfb) of the size
# given ("1024x768x24") on the first free display number from 90 on, exports DISPLAY and sets
# xvfb_pid for the caller's cleanup. Another run may take the same number at the same moment;
# then that server fails and the next number is tried. Start it before any Wine program: a Wine
# server started without a display keeps a desktop without one for the programs that follow.
start_virtual_display() {
  local size="$1" display
  xvfb_pid=
  for display in $(seq 90 189); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
    Xvfb ":$display" -screen 0 "$size" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
      [ -e "/tmp/.X11-unix/X$display" ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$display" ]; then
      export DISPLAY=":$display"
      return 0
    fi
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  done
  echo "no virtual display could be started (Xvfb)" >&2
  return 1
}
