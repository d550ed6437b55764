# Shared by the end-to-end scripts: a private X display and PulseAudio server for the real program.
# Source it, then call start_desktop; everything started is stopped on exit.

set -euo pipefail

E2E_WORK=$(mktemp -d /tmp/langque-e2e.XXXXXX)
E2E_PIDS=()

stop_desktop() {
  for pid in "${E2E_PIDS[@]:-}"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  [ -n "${PULSE_RUNTIME_PATH:-}" ] && pactl exit >/dev/null 2>&1 || true
  wait 2>/dev/null || true
  rm -rf "$E2E_WORK"
}
trap stop_desktop EXIT

start_desktop() {
  local display
  for display in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
  done
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$E2E_WORK/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  export DISPLAY=":$display"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

  export XDG_RUNTIME_DIR="$E2E_WORK/runtime"
  export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
  export HOME="$E2E_WORK/home"
  mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
  chmod 700 "$XDG_RUNTIME_DIR"
  pulseaudio --daemonize=no --system=false --exit-idle-time=-1 -n \
    --load="module-native-protocol-unix" --load="module-null-sink sink_name=e2e" \
    --log-target=file:"$E2E_WORK/pulse.log" &
  E2E_PIDS+=($!)
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink e2e >/dev/null 2>&1 || true
}

# Copies the program (and the engine library when built) into a fresh run directory.
make_run_directory() {
  local build=$1 dir=$2
  mkdir -p "$dir"
  cp "$build/langque" "$dir/"
  [ -f "$build/libmsc.so" ] && cp "$build/libmsc.so" "$dir/"
  return 0
}

wait_for_window() {
  local name=$1 id=""
  for _ in $(seq 100); do
    id=$(xdotool search --name "$name" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "window '$name' did not appear" >&2
  return 1
}

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts the program of a run directory and waits for its main window: APP is its pid, WIN the window.
start_program() {
  local run=$1 log=$2
  "$run/langque" >"$log" 2>&1 &
  APP=$!
  WIN=$(wait_for_window "朗雀语音合成工具V2.1")
  sleep 0.5
}

# Replaces the text box's content by typing, as a user would.
type_text() {
  xdotool mousemove --window "$WIN" 120 130 click 1
  xdotool key --window "$WIN" ctrl+a BackSpace
  xdotool type --window "$WIN" --delay 30 "$1"
  sleep 0.3
}

# Clicks a point of the main window, given in window coordinates.
click_at() {
  xdotool mousemove --window "$WIN" "$1" "$2" click 1
}

# Asks the program to end, as a logout does, and expects a clean exit.
close_program() {
  kill -TERM "$APP"
  wait "$APP" || fail "program did not end cleanly"
}

# "开始合成" (按钮_开始合成 at 474,367, 98 x 56).
press_start() {
  click_at 523 395
}

# "保存语音" (按钮_保存语音 at 583,391, 64 x 32): takes the proposed name in the run directory and
# dismisses the "导出成功:" message.
save_speech() {
  click_at 615 407
  sleep 1.5
  xdotool key Return
  sleep 1
  xdotool key Return
  sleep 0.5
}
