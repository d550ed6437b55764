# What the end-to-end scripts need to hear the program: source after desktop.sh and call
# start_desktop first. Everything started here is stopped by desktop.sh's exit trap.
#
#   keep_sink_in_step           a silent low-latency stream on the null sink (call once)
#   start_recording FILE        records the sink's monitor, 16-bit mono 16000 Hz raw
#   stop_recording              ends the recording
#   rms_of FILE                 RMS of a raw recording, as an integer on the 16-bit scale
#   wav_field FILE OFFSET SIZE  a little-endian header field of a WAV file, as decimal

# A null sink with no low-latency stream renders up to two seconds ahead, so a sound reaches
# the monitor late and a recording stopped soon after a sound misses it. A silent stream that
# asks for 10 ms keeps the sink and the recording in step with the program.
keep_sink_in_step() {
  pacat --playback --latency-msec=10 --raw --format=s16le --rate=16000 --channels=1 -d e2e </dev/zero &
  E2E_PIDS+=($!)
  sleep 0.5
}

start_recording() {
  parec --latency-msec=10 -d e2e.monitor --raw --format=s16le --rate=16000 --channels=1 >"$1" &
  E2E_RECORDER=$!
  E2E_PIDS+=($E2E_RECORDER)
  sleep 0.3
}

stop_recording() {
  [ -n "${E2E_RECORDER:-}" ] || return 0
  kill "$E2E_RECORDER" 2>/dev/null || true
  wait "$E2E_RECORDER" 2>/dev/null || true
  E2E_RECORDER=""
}

rms_of() {
  local rms
  [ -s "$1" ] || { echo 0; return 0; }
  rms=$(sox -t raw -r 16000 -e signed -b 16 -c 1 "$1" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
  awk -v r="${rms:-0}" 'BEGIN { v = r * 32768; if (v != v || v < 0) v = 0; printf "%d\n", v }'
}

wav_field() {
  local file=$1 offset=$2 size=$3
  od -An -tu"$size" -j "$offset" -N "$size" --endian=little "$file" | tr -d ' '
}
