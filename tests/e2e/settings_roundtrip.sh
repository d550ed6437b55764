#!/usr/bin/env bash
# The real program under Xvfb: typed text and a chosen option survive a restart through config.ini (GBK).
source "$(dirname "$0")/desktop.sh"
build=$1
start_desktop
run="$E2E_WORK/run"
make_run_directory "$build" "$run"

start_program "$run" "$E2E_WORK/app1.log"
# The text box, cleared and typed into.
type_text "hello langque"
# The engine type list at 392+83+80, 5+29+10: open it and take the second item.
click_at 555 44
sleep 0.3
xdotool key Down Return
sleep 0.3
close_program

[ -f "$run/config.ini" ] || fail "no config.ini written"
text=$(iconv -f GBK -t UTF-8 "$run/config.ini") || fail "config.ini is not GBK"
grep -q '^\[编辑框\]' <<<"$text" || fail "no 编辑框 section: $text"
grep -q '^编辑框_合成文本=hello langque' <<<"$text" || fail "text not saved: $text"
grep -q '^组合框_引擎类型=1' <<<"$text" || fail "engine type not saved: $text"
grep -q '^组合框_发音人=0' <<<"$text" || fail "voice not saved: $text"

# A second run reads it back and, closed untouched, writes the same values.
start_program "$run" "$E2E_WORK/app2.log"
close_program
again=$(iconv -f GBK -t UTF-8 "$run/config.ini")
[ "$again" = "$text" ] || fail "settings changed across a restart: $again"
echo "settings round trip: ok"
