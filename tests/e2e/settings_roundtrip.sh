#!/usr/bin/env bash
# The real program under Xvfb: typed text and a chosen option survive a restart through config.ini (GBK).
source "$(dirname "$0")/desktop.sh"
build=$1
start_desktop
run="$E2E_WORK/run"
make_run_directory "$build" "$run"

"$run/langque" >"$E2E_WORK/app1.log" 2>&1 &
app=$!
win=$(wait_for_window "朗雀语音合成工具V2.1")
sleep 0.5
# Click into the text box (window coordinates 8+12+100, 5+21+100), clear it, type.
xdotool mousemove --window "$win" 120 130 click 1
xdotool key --window "$win" ctrl+a BackSpace
xdotool type --window "$win" --delay 20 "hello langque"
# The engine type list at 392+83+80, 5+29+10: open it and take the second item.
xdotool mousemove --window "$win" 555 44 click 1
sleep 0.3
xdotool key Down Return
sleep 0.3
kill -TERM "$app"
wait "$app" || fail "program did not end cleanly"

[ -f "$run/config.ini" ] || fail "no config.ini written"
text=$(iconv -f GBK -t UTF-8 "$run/config.ini") || fail "config.ini is not GBK"
grep -q '^\[编辑框\]' <<<"$text" || fail "no 编辑框 section: $text"
grep -q '^编辑框_合成文本=hello langque' <<<"$text" || fail "text not saved: $text"
grep -q '^组合框_引擎类型=1' <<<"$text" || fail "engine type not saved: $text"
grep -q '^组合框_发音人=0' <<<"$text" || fail "voice not saved: $text"

# A second run reads it back and, closed untouched, writes the same values.
"$run/langque" >"$E2E_WORK/app2.log" 2>&1 &
app=$!
wait_for_window "朗雀语音合成工具V2.1" >/dev/null
sleep 0.5
import -window root "$E2E_WORK/second-run.png"
kill -TERM "$app"
wait "$app" || fail "second run did not end cleanly"
again=$(iconv -f GBK -t UTF-8 "$run/config.ini")
[ "$again" = "$text" ] || fail "settings changed across a restart: $again"
echo "settings round trip: ok"
