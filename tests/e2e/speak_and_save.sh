#!/usr/bin/env bash
# The real program under Xvfb: a typed Chinese sentence is heard on the sound server after "开始合成",
# and "保存语音" writes it as a 16-bit mono 16000 Hz WAV.
source "$(dirname "$0")/desktop.sh"
source "$(dirname "$0")/sound.sh"
build=$1
start_desktop
keep_sink_in_step
run="$E2E_WORK/run"
make_run_directory "$build" "$run"
[ -f "$run/libmsc.so" ] || fail "engine library not built"

start_program "$run" "$E2E_WORK/app.log"
type_text "你好，世界。今天天气很好。"

start_recording "$E2E_WORK/silence.raw"
sleep 1
stop_recording
start_recording "$E2E_WORK/speech.raw"
press_start
sleep 4
stop_recording
quiet=$(rms_of "$E2E_WORK/silence.raw")
loud=$(rms_of "$E2E_WORK/speech.raw")
echo "monitor RMS: silence $quiet, speech $loud"
[ "$loud" -gt 300 ] && [ "$loud" -gt $((quiet * 10 + 100)) ] || fail "no speech heard (RMS $loud against $quiet)"

save_speech
wav="$run/合成语音.wav"
[ -f "$wav" ] || fail "合成语音.wav not written"
[ "$(head -c 4 "$wav")" = "RIFF" ] || fail "not a RIFF file"
[ "$(wav_field "$wav" 22 2)" = 1 ] || fail "not mono"
[ "$(wav_field "$wav" 24 4)" = 16000 ] || fail "not 16000 Hz"
[ "$(wav_field "$wav" 34 2)" = 16 ] || fail "not 16-bit"
size=$(stat -c %s "$wav")
[ "$(wav_field "$wav" 40 4)" = $((size - 44)) ] || fail "data size does not match the file"
[ $((size - 44)) -gt 32000 ] || fail "less than a second of audio"
soxi "$wav" >/dev/null || fail "sox cannot read the WAV"

close_program
iconv -f GBK -t UTF-8 "$run/config.ini" | grep -q '^编辑框_合成文本=你好，世界。' || fail "typed text not kept"
echo "speak and save: ok ($((size - 44)) bytes of audio)"
