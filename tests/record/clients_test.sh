#!/usr/bin/env bash
# A recording of known signals, read by programs that no one here wrote: sigrok-cli must see
# every wire at every microsecond as the signals were played; GTKWave's vcd2fst must convert it
# without a word, and its fst2vcd give back the same edges; Python's csv module must parse the
# CSV into the same edges. Exits 77 (skipped) when one of them is not installed.
# Usage: clients_test.sh <make_recordings>
set -euo pipefail

maker=${1:?usage: $0 <make_recordings>}
here=$(cd "$(dirname "$0")" && pwd)
missing=()
for tool in sigrok-cli vcd2fst fst2vcd python3; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
  echo "SKIPPED: not installed: ${missing[*]} (bash scripts/deps.sh test installs them)"
  exit 77
fi

source "$(dirname "$0")/../../scripts/lib/workdir.sh"
make_workdir
"$maker" "$work"
fail=0

# sigrok-cli: the channels by name, then one row per microsecond.
sigrok-cli -I vcd -i "$work/recording.vcd" -O csv >"$work/sigrok.csv" 2>"$work/sigrok.err"
if [[ -s $work/sigrok.err ]]; then
  echo "sigrok-cli complained:"; cat "$work/sigrok.err"; fail=1
fi
channels=$(grep '^; Channels' "$work/sigrok.csv" | sed 's/^; Channels ([0-9/]*): //')
want="nStrobe_pin1, D0_pin2, D1_pin3, D2_pin4, D3_pin5, D4_pin6, D5_pin7, D6_pin8, D7_pin9, nAck_pin10, Busy_pin11, PaperEnd_pin12, Select_pin13, nAutoFeed_pin14, nError_pin15, nInit_pin16, nSelectIn_pin17, gap"
if [[ $channels != "$want" ]]; then
  echo "sigrok-cli's channels: $channels"; echo "expected:              $want"; fail=1
fi
grep -E '^[01](,[01])*$' "$work/sigrok.csv" >"$work/sigrok.levels" || true
if ! diff -q "$work/expected_levels.csv" "$work/sigrok.levels" >/dev/null; then
  echo "sigrok-cli's levels differ from the signals played (expected < > sigrok-cli, first lines):"
  { diff "$work/expected_levels.csv" "$work/sigrok.levels" || true; } | head -20; fail=1
fi

# GTKWave: converted without a word, and back to the same edges.
if ! vcd2fst "$work/recording.vcd" "$work/recording.fst" >"$work/vcd2fst.log" 2>&1 || [[ -s $work/vcd2fst.log ]]; then
  echo "vcd2fst complained:"; cat "$work/vcd2fst.log"; fail=1
fi
fst2vcd "$work/recording.fst" >"$work/back.vcd" 2>"$work/fst2vcd.err" || { cat "$work/fst2vcd.err"; fail=1; }
python3 "$here/read_recording.py" vcd "$work/back.vcd" >"$work/fst.edges"
grep -v ' gap ' "$work/fst.edges" >"$work/fst.pin-edges" || true
if ! diff "$work/expected_edges.txt" "$work/fst.pin-edges"; then
  echo "the edges GTKWave gives back differ (expected < > GTKWave)"; fail=1
fi
gap=$(grep ' gap ' "$work/fst.edges" | tr '\n' ';')
if [[ $gap != "199 gap 1;300 gap 0;" ]]; then
  echo "GTKWave's gap wire: $gap; expected high from 199 us to 300 us"; fail=1
fi

# Python's csv module: the same edges, and the gap with its length.
python3 "$here/read_recording.py" csv "$work/recording.csv" >"$work/csv.edges"
grep -v ' gap ' "$work/csv.edges" >"$work/csv.pin-edges" || true
if ! diff "$work/expected_edges.txt" "$work/csv.pin-edges"; then
  echo "the edges of the CSV differ (expected < > CSV)"; fail=1
fi
if [[ $(grep ' gap ' "$work/csv.edges") != "300 gap 101 " ]]; then
  echo "the CSV's gap: $(grep ' gap ' "$work/csv.edges" || echo none); expected 101 us unseen before 300 us"; fail=1
fi

((fail == 0)) && echo "sigrok-cli, vcd2fst, fst2vcd and Python's csv read the recording as played"
exit "$fail"
