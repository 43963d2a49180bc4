#!/usr/bin/env bash
# Records the sound server's null sink "drums" while a player program plays
# its scenes (through the audio engine, or through the real program), then has
# the player's check script judge the recording, once more when the check
# says the sound server spoiled it. Needs PULSE_SERVER and DISPLAY as
# tools/test exports them.
# Usage: capture_test.sh WINE_RUN PLAYER_EXE CHECK_PY
set -uo pipefail
wine_run=$1 player=$2 check=$3
name=$(basename "$player" .exe)
fail() { echo "$name: FAIL: $*" >&2; exit 1; }

[ -n "${PULSE_SERVER:-}" ] || fail "PULSE_SERVER is not set: no sound server to record (run tools/test)"
pactl info >/dev/null 2>&1 || fail "the sound server at $PULSE_SERVER does not answer"
pactl list short sinks | grep -qw drums || fail "the sound server has no sink named drums"
# The Debian interpreter, which has python3-numpy, before any other on PATH.
py=/usr/bin/python3
[ -x "$py" ] || py=python3
"$py" -c 'import numpy' 2>/dev/null || fail "$py cannot import numpy (install python3-numpy)"

capture="$(dirname "$player")/capture.raw"
rm -f "$capture"
parec -d drums.monitor --raw --format=s16le --rate=44100 --channels=2 --latency-msec=50 >"$capture" &
parec_pid=$!
trap 'kill "$parec_pid" 2>/dev/null' EXIT
# parec sometimes takes a second before its first data: play only once it records.
for _ in $(seq 100); do
  if [ -s "$capture" ] || ! kill -0 "$parec_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
[ -s "$capture" ] || fail "parec recorded nothing from drums.monitor within 10 s"
sleep 0.5

started=$(date +%s%3N)
player_log="$(dirname "$player")/player.log"
timeout 120 "$wine_run" "$player" | tee "$player_log"
player_status=${PIPESTATUS[0]}  # 124: still playing after 120 s
ended=$(date +%s%3N)
# Wine has been seen to die of a segmentation fault (139) while it ended the
# process, after the player had closed everything and printed its last line:
# the player's own exit code then stands, with a warning.
if [ "$player_status" -eq 139 ] &&
  [[ $(tail -n 1 "$player_log") =~ ^player\ ends\ with\ exit\ code\ ([0-9]+)$ ]]; then
  echo "$name: WARNING: Wine crashed while ending the process after the player's last line;" \
    "judged by the exit code the player gave (${BASH_REMATCH[1]})"
  player_status=${BASH_REMATCH[1]}
fi
sleep 1.5  # the last scene's tail and the server's latency
kill "$parec_pid"
wait "$parec_pid" 2>/dev/null
trap - EXIT
echo "$name: player ran $((ended - started)) ms, exit code $player_status;" \
  "captured $(stat -c %s "$capture") bytes"
"$py" "$check" "$capture"
status=$?
# 2: the sound server starved a stream in the middle of a sound. Once more.
if [ "$status" -eq 2 ] && [ -z "${CAPTURE_AGAIN:-}" ]; then
  echo "$name: the sound server dropped sound in the middle of a stream; recording once more"
  CAPTURE_AGAIN=1 exec bash "$0" "$@"
fi
[ "$status" -eq 0 ] || fail "the recording does not show what was played ($capture)"
[ "$player_status" -eq 0 ] || fail "the player failed (exit code $player_status)"
echo "$name: PASS"
