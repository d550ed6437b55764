#!/usr/bin/env bash
# The real program under Xvfb with LANGQUE_HOST_WEB_TTS on a local host: the multi-language engine plays
# the host's MP3 and saves it as 合成语音.mp3; with the host gone the status says so and nothing plays.
source "$(dirname "$0")/desktop.sh"
source "$(dirname "$0")/sound.sh"
build=$1
start_desktop
keep_sink_in_step
run="$E2E_WORK/run"
make_run_directory "$build" "$run"

sox -n -r 16000 -c 1 "$E2E_WORK/tone.wav" synth 3 sine 440 vol 0.5
lame --quiet "$E2E_WORK/tone.wav" "$E2E_WORK/tone.mp3"
python3 "$(dirname "$0")/tts_host.py" "$E2E_WORK/tone.mp3" "$E2E_WORK/requests.log" >"$E2E_WORK/port" &
host_pid=$!
E2E_PIDS+=($host_pid)
for _ in $(seq 50); do [ -s "$E2E_WORK/port" ] && break; sleep 0.1; done
export LANGQUE_HOST_WEB_TTS="127.0.0.1:$(cat "$E2E_WORK/port")"

start_program "$run" "$E2E_WORK/app.log"
type_text "hello"
# 组合框_引擎类型: the fourth item, 多语言语音引擎; then 组合框_发音人: the seventh, 英语.
click_at 555 44
sleep 0.3
xdotool key Down Down Down Return
sleep 0.3
click_at 555 75
sleep 0.3
xdotool key Down Down Down Down Down Down Return
sleep 0.3

start_recording "$E2E_WORK/web.raw"
press_start
sleep 3
stop_recording
grep -q '^/gettts?lan=en&text=hello&spd=5&source=web$' "$E2E_WORK/requests.log" || fail "unexpected request: $(cat "$E2E_WORK/requests.log")"
loud=$(rms_of "$E2E_WORK/web.raw")
echo "monitor RMS while the MP3 plays: $loud"
[ "$loud" -gt 1000 ] || fail "the MP3 was not heard (RMS $loud)"

save_speech
cmp -s "$run/合成语音.mp3" "$E2E_WORK/tone.mp3" || fail "合成语音.mp3 is not the host's MP3"
[ ! -e "$run/合成语音.wav" ] || fail "an MP3 was written under a .wav name"

# 停止播放 under this engine type closes the MP3; with the host gone nothing plays.
click_at 339 401
kill "$host_pid"
wait "$host_pid" 2>/dev/null || true
sleep 0.5
start_recording "$E2E_WORK/gone.raw"
press_start
sleep 1.5
stop_recording
quiet=$(rms_of "$E2E_WORK/gone.raw")
echo "monitor RMS with the host gone: $quiet"
[ "$quiet" -lt 100 ] || fail "something played with the host gone (RMS $quiet)"

close_program
echo "web voice: ok"
