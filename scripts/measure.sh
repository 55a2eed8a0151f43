#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures quelo-link offscreen against its performance targets and prints a table:
#   - needles moving: `quelo-link --demo` for MOVING_S seconds (default 60);
#   - needles at rest, polling going on: `quelo-sim --steady` (engine held at idle) and
#     `quelo-link --ports` on it, measured from REST_SETTLE_S to REST_S seconds (default 20..50:
#     after connecting, the first pass over the module's parameters takes about 13 s and moves
#     the advance needle and its band once);
#   - first paint: the time from process start to the end of the window's first paint, over the
#     runs above and STARTS short extra runs (default 5);
#   - recording and trends: three runs side by side, each on its own `quelo-sim --steady`, for
#     TRENDS_S seconds (default 60, measured from REST_SETTLE_S): plain, with `--record`, and with
#     `--trends` (the Trends window open and live); peak RSS of the last;
#   - searching: the simulator quits under a connected `quelo-link --reconnect`, which searches
#     ports 1..3 round after round; CPU over SEARCH_S seconds (default 40), then the simulator
#     comes back and the time to the reconnection is taken;
#   - opening a one-hour recording (15,000 rows, generated here) in the Trends window with
#     quelo-trends-shot, OPENS times (default 3);
#   - at rest side by side: `quelo-link --ports` on `quelo-sim --steady` and the reference
#     window bench/rest_reference.cpp (four repaint-on-move gauges, one 10 ms timer) running at
#     the same time, measured over the same SIDE_S seconds (default 120: the reference's own
#     figure varies by half from run to run) after REST_SETTLE_S; in the same seconds the
#     reference with `--line` on a simulator of its own carries the same standing poll, for a
#     comparison that leaves the serial traffic's own cost out (not a target);
#   - a replay of the hour's recording at 16x (`--replay --speed 16`) for REPLAY_S seconds
#     (default 30).
# CPU is the threads' run time from /proc/PID/task/*/schedstat as a percentage of one core; peak
# RSS is VmHWM. Repaints come from the program's "quelo.perf" logging category. Takes about seven
# minutes; not for CI.
#
# Usage: scripts/measure.sh            (builds quelo-link and quelo-sim into $BUILD_DIR first,
#                                       default build-perf)
#        scripts/measure.sh rest       (only the side-by-side at-rest and replay figures)
# QPA=xcb with a DISPLAY (e.g. under Xvfb) measures on a window system instead of offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build-perf}
moving_s=${MOVING_S:-60}
rest_s=${REST_S:-50}
rest_settle_s=${REST_SETTLE_S:-20}
starts=${STARTS:-5}
spin_reference=66 # % of one core: polling with a spinning 0.25 s pause (reference figure)

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j"${JOBS:-2}" --target quelo-link quelo-sim quelo-trends-shot \
    quelo-rest-reference >/dev/null
link="$build/bin/quelo-link"
sim="$build/bin/quelo-sim"
shot="$build/bin/quelo-trends-shot"
reference="$build/bin/quelo-rest-reference"
side_s=${SIDE_S:-120}
replay_s=${REPLAY_S:-30}
trends_s=${TRENDS_S:-60}
search_s=${SEARCH_S:-40}
opens=${OPENS:-3}

work=$(mktemp -d /tmp/quelo-measure.XXXXXX)
export QT_QPA_PLATFORM=${QPA:-offscreen}
export QT_LOGGING_RULES="quelo.perf.info=true"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work/runtime}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

started=()
cleanup() {
    local pid
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

clk_tck=1000000000 # cpu_ticks counts nanoseconds

# CPU time of a process's threads, in nanoseconds: the scheduler's own count, where utime and
# stime come in 10 ms ticks, coarser than a minute at rest (0.2 % of a core over 30 s is six
# ticks, so one tick more or less moves a side-by-side ratio by a sixth).
cpu_ticks() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%d", ns }'; }
now() { date +%s.%N; }
peak_rss_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"; }
# CPU percent of one core between two (ticks, time) samples.
cpu_percent() { awk -v t0="$1" -v s0="$2" -v t1="$3" -v s1="$4" -v hz="$clk_tck" \
    'BEGIN { printf "%.2f", (t1 - t0) / hz / (s1 - s0) * 100 }'; }
# Sleeps until SECONDS after the epoch time START.
sleep_until() { sleep "$(awk -v s="$1" -v d="$2" -v n="$(now)" 'BEGIN { w = s + d - n; print (w > 0 ? w : 0) }')"; }
# Whether a process has a pseudo-terminal slave open, i.e. holds the module's line.
holds_pty() { ls -l "/proc/$1/fd" 2>/dev/null | grep -q "$2"; }
# Mean gauge and widget paints per second over the logged seconds FIRST..LAST of a log.
paints_per_second() { awk -v first="$2" -v last="$3" '
    $2 == "second" && $3 >= first && $3 <= last { n++; w += $5; g += $7 }
    END { if (n) printf "%.1f %.1f\n", g / n, w / n; else print "n/a n/a" }' "$1"; }
first_paint() { awk '$2 == "first-paint-ms" { print $3; exit }' "$1"; }

fail() { echo "measure.sh: $*" >&2; exit 1; }

# A recording of SECONDS seconds, one telemetry row every 240 ms through an engine cycle, with
# an event row now and then: the size of an hour's run at the module's report rate.
fake_recording() { awk -v n="$(( $1 * 1000 / 240 ))" 'BEGIN {
    printf "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n"
    for (i = 0; i < n; i++) {
        ms = i * 240; s = int(ms / 1000); c = s % 80
        rpm = c < 10 ? 0 : c < 40 ? 1000 : c < 55 ? 2650 : c < 70 ? 1000 : 0
        stamp = sprintf("2026-03-01T%02d:%02d:%02d.%03d+01:00", 12 + int(s / 3600), int(s / 60) % 60, s % 60, ms % 1000)
        if (i % 500 == 0)
            printf "%s,%.3f,,,,,Connected Comm Port 1\r\n", stamp, ms / 1000
        printf "%s,%.3f,%d,%.1f,%.1f,,\r\n", stamp, ms / 1000, rpm + (i % 7), rpm ? 19.6 + (i % 5) * 1.4 : 0, 13.8 + (i % 3) / 10
    } }'; }

# At rest, side by side: the program polling a still engine and the reference window, started
# together and measured over the same seconds. Sets side_link, side_ref, side_ratio.
measure_side_by_side() {
    "$sim" --steady --link "$work/tty-side" >"$work/sim-side.out" 2>&1 &
    local sim_pid=$!
    started+=("$sim_pid")
    "$sim" --steady --link "$work/tty-line" >"$work/sim-line.out" 2>&1 &
    local line_sim=$!
    started+=("$line_sim")
    for _ in $(seq 50); do
        [ -L "$work/tty-side" ] && [ -L "$work/tty-line" ] && break
        sleep 0.1
    done
    [ -L "$work/tty-side" ] || fail "quelo-sim did not start: $(cat "$work/sim-side.out")"
    [ -L "$work/tty-line" ] || fail "quelo-sim did not start: $(cat "$work/sim-line.out")"
    local span=$((rest_settle_s + side_s))
    "$link" --ports "$work/tty-side" --quit-after $((span + 2)) 2>"$work/side.log" &
    local pid=$!
    started+=("$pid")
    "$reference" --quit-after $((span + 2)) 2>"$work/reference.log" &
    local ref=$!
    started+=("$ref")
    "$reference" --line "$work/tty-line" --quit-after $((span + 2)) 2>"$work/reference-line.log" &
    local ref_line=$!
    started+=("$ref_line")
    local t_start
    t_start=$(now)
    sleep_until "$t_start" "$rest_settle_s"
    local a0 r0 l0 s0 a1 r1 l1 s1
    a0=$(cpu_ticks "$pid"); r0=$(cpu_ticks "$ref"); l0=$(cpu_ticks "$ref_line"); s0=$(now)
    sleep_until "$t_start" "$span"
    a1=$(cpu_ticks "$pid"); r1=$(cpu_ticks "$ref"); l1=$(cpu_ticks "$ref_line"); s1=$(now)
    holds_pty "$pid" /dev/pts || fail "the side-by-side run is not connected"
    wait "$pid" || fail "the side-by-side run failed: $(cat "$work/side.log")"
    wait "$ref" || fail "the reference window failed: $(cat "$work/reference.log")"
    wait "$ref_line" || fail "the reference with the line failed: $(cat "$work/reference-line.log")"
    kill "$sim_pid" "$line_sim" 2>/dev/null || true
    side_link=$(cpu_percent "$a0" "$s0" "$a1" "$s1")
    side_ref=$(cpu_percent "$r0" "$s0" "$r1" "$s1")
    side_ref_line=$(cpu_percent "$l0" "$s0" "$l1" "$s1")
    side_ratio=$(awk -v a="$side_link" -v b="$side_ref" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 99) }')
    side_ratio_line=$(awk -v a="$side_link" -v b="$side_ref_line" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 99) }')
}

# A replay of an hour's recording at 16x. Sets replay_cpu.
measure_replay() {
    [ -f "$work/hour.csv" ] || fake_recording 3600 >"$work/hour.csv"
    "$link" --replay "$work/hour.csv" --speed 16 --quit-after $((replay_s + 4)) 2>"$work/replay.log" &
    local pid=$!
    started+=("$pid")
    local t_start r0 s0 r1 s1
    t_start=$(now)
    sleep_until "$t_start" 2
    r0=$(cpu_ticks "$pid"); s0=$(now)
    sleep_until "$t_start" $((replay_s + 2))
    r1=$(cpu_ticks "$pid"); s1=$(now)
    wait "$pid" || fail "the replay failed: $(cat "$work/replay.log")"
    replay_cpu=$(cpu_percent "$r0" "$s0" "$r1" "$s1")
}

print_rest_rows() {
    printf '%-44s %12s %10s %s\n' "at rest side by side: quelo-link (% of core)" "$side_link" "" ""
    printf '%-44s %12s %10s %s\n' "  reference window, same seconds" "$side_ref" "" ""
    printf '%-44s %12s %10s %s\n' "  quelo-link / reference" "$side_ratio" "<= 0.7" \
        "$(verdict "$side_ratio" 0.7)"
    printf '%-44s %12s %10s %s\n' "  reference with the same poll on a line" "$side_ref_line" "" ""
    printf '%-44s %12s %10s %s\n' "  quelo-link / reference with the poll" "$side_ratio_line" "" ""
    printf '%-44s %12s %10s %s\n' "CPU, replay at 16x (% of one core)" "$replay_cpu" "<= 5" \
        "$(verdict "$replay_cpu" 5)"
}
verdict() { awk -v v="$1" -v lim="$2" 'BEGIN { print (v != "n/a" && v + 0 <= lim + 0) ? "ok" : "MISS" }'; }

if [ "${1:-}" = rest ]; then
    echo "Measuring at rest side by side and a 16x replay on $(nproc) cores; about $((rest_settle_s + side_s + replay_s + 10)) s ($QT_QPA_PLATFORM)"
    measure_side_by_side
    measure_replay
    printf '\n%-44s %12s %10s %s\n' "quantity" "measured" "target" ""
    print_rest_rows
    exit 0
fi

echo "Measuring $link on $(nproc) cores ($(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)); about $((moving_s + rest_s + 2 * starts + rest_settle_s + trends_s + search_s + 35)) s"

# --- Needles moving: the demo's simulated engine runs through its cycle. -----------------------
"$link" --demo --quit-after $((moving_s + 2)) 2>"$work/moving.log" &
pid=$!
started+=("$pid")
t_start=$(now)
sleep_until "$t_start" 1
ticks0=$(cpu_ticks "$pid")
s0=$(now)
sleep_until "$t_start" $((moving_s + 1))
ticks1=$(cpu_ticks "$pid")
s1=$(now)
holds_pty "$pid" /dev/pts || fail "the demo run holds no pseudo-terminal: not connected"
moving_rss=$(peak_rss_kb "$pid")
wait "$pid" || fail "quelo-link --demo failed: $(cat "$work/moving.log")"
moving_cpu=$(cpu_percent "$ticks0" "$s0" "$ticks1" "$s1")
read -r moving_gauge moving_widget < <(paints_per_second "$work/moving.log" 2 "$moving_s")

# --- Needles at rest: engine held still, polling goes on. ---------------------------------------
"$sim" --steady --link "$work/tty" >"$work/sim.out" 2>&1 &
sim_pid=$!
started+=("$sim_pid")
for _ in $(seq 50); do
    [ -L "$work/tty" ] && break
    sleep 0.1
done
[ -L "$work/tty" ] || fail "quelo-sim did not start: $(cat "$work/sim.out")"
pty=$(head -n1 "$work/sim.out")
"$link" --ports "$work/tty" --quit-after $((rest_s + 2)) 2>"$work/rest.log" &
pid=$!
started+=("$pid")
t_start=$(now)
sleep_until "$t_start" "$rest_settle_s"
ticks0=$(cpu_ticks "$pid")
sim_ticks0=$(cpu_ticks "$sim_pid")
s0=$(now)
sleep_until "$t_start" "$rest_s"
ticks1=$(cpu_ticks "$pid")
sim_ticks1=$(cpu_ticks "$sim_pid")
s1=$(now)
holds_pty "$pid" "$pty" || fail "quelo-link does not hold $pty: not connected to quelo-sim"
rest_rss=$(peak_rss_kb "$pid")
wait "$pid" || fail "quelo-link --ports failed: $(cat "$work/rest.log")"
kill "$sim_pid" && wait "$sim_pid" || true
rest_cpu=$(cpu_percent "$ticks0" "$s0" "$ticks1" "$s1")
sim_cpu=$(cpu_percent "$sim_ticks0" "$s0" "$sim_ticks1" "$s1")
read -r rest_gauge rest_widget < <(paints_per_second "$work/rest.log" \
    $((rest_settle_s + 1)) "$rest_s")

# --- Searching: the module goes away under a connected program and comes back. ------------------
start_sim() {
    "$sim" --steady --link "$work/tty-lost" >"$work/sim-lost.out" 2>&1 &
    sim_pid=$!
    started+=("$sim_pid")
    for _ in $(seq 50); do
        [ -L "$work/tty-lost" ] && return
        sleep 0.1
    done
    fail "quelo-sim did not start: $(cat "$work/sim-lost.out")"
}
start_sim
QT_LOGGING_RULES="quelo.perf.info=false" \
    "$link" --ports "$work/tty-lost" --reconnect --log "$work/lost.log" \
    --quit-after $((search_s + 30)) &
pid=$!
started+=("$pid")
t_start=$(now)
for _ in $(seq 100); do
    grep -q "status: Connected" "$work/lost.log" 2>/dev/null && break
    sleep 0.1
done
grep -q "status: Connected" "$work/lost.log" || fail "no connection before the search run"
kill "$sim_pid" && wait "$sim_pid" || true
sleep 1
ticks0=$(cpu_ticks "$pid")
s0=$(now)
sleep "$search_s"
ticks1=$(cpu_ticks "$pid")
s1=$(now)
search_cpu=$(cpu_percent "$ticks0" "$s0" "$ticks1" "$s1")
search_rounds=$(grep -c "status: Valid comm port not found" "$work/lost.log")
start_sim
back=$(now)
for _ in $(seq 150); do
    [ "$(grep -c "status: Connected" "$work/lost.log")" -ge 2 ] && break
    sleep 0.1
done
reconnect_s=$(awk -v a="$back" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }')
[ "$(grep -c "status: Connected" "$work/lost.log")" -ge 2 ] || reconnect_s=n/a
wait "$pid" || fail "the search run failed"
kill "$sim_pid" && wait "$sim_pid" || true

# --- First paint: the two runs above and a few short ones. --------------------------------------
paints=("$(first_paint "$work/moving.log")" "$(first_paint "$work/rest.log")")
for i in $(seq "$starts"); do
    "$link" --demo --quit-after 0.3 2>"$work/start$i.log" || fail "short run $i failed"
    paints+=("$(first_paint "$work/start$i.log")")
done
read -r paint_median paint_max < <(printf '%s\n' "${paints[@]}" | sort -g | awk '
    { v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
                         printf "%.1f %.1f\n", m, v[NR] }')

# --- Recording and trends: three runs side by side on simulators holding the engine still. -----
sims=()
for name in plain record trends; do
    "$sim" --steady --link "$work/tty-$name" >"$work/sim-$name.out" 2>&1 &
    sims+=("$!")
    started+=("$!")
done
for name in plain record trends; do
    for _ in $(seq 50); do
        [ -L "$work/tty-$name" ] && break
        sleep 0.1
    done
    [ -L "$work/tty-$name" ] || fail "quelo-sim did not start: $(cat "$work/sim-$name.out")"
done
span=$((rest_settle_s + trends_s))
declare -A run_pid
for name in plain record trends; do
    extra=()
    [ "$name" = record ] && extra=(--record "$work/run.csv")
    [ "$name" = trends ] && extra=(--trends)
    "$link" --ports "$work/tty-$name" --quit-after $((span + 2)) "${extra[@]}" \
        2>"$work/$name.log" &
    run_pid[$name]=$!
    started+=("$!")
done
t_start=$(now)
sleep_until "$t_start" "$rest_settle_s"
declare -A t0 t1
for name in plain record trends; do t0[$name]=$(cpu_ticks "${run_pid[$name]}"); done
s0=$(now)
sleep_until "$t_start" "$span"
for name in plain record trends; do t1[$name]=$(cpu_ticks "${run_pid[$name]}"); done
s1=$(now)
for name in plain record trends; do
    holds_pty "${run_pid[$name]}" /dev/pts || fail "the $name run is not connected"
done
trends_rss=$(peak_rss_kb "${run_pid[trends]}")
for name in plain record trends; do
    wait "${run_pid[$name]}" || fail "the $name run failed: $(cat "$work/$name.log")"
done
for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
plain_cpu=$(cpu_percent "${t0[plain]}" "$s0" "${t1[plain]}" "$s1")
record_cpu=$(cpu_percent "${t0[record]}" "$s0" "${t1[record]}" "$s1")
trends_cpu=$(cpu_percent "${t0[trends]}" "$s0" "${t1[trends]}" "$s1")
record_rows=$(($(wc -l <"$work/run.csv") - 1))
record_extra=$(awk -v a="$record_cpu" -v b="$plain_cpu" 'BEGIN { printf "%.2f", a - b }')
trends_extra=$(awk -v a="$trends_cpu" -v b="$plain_cpu" 'BEGIN { printf "%.2f", a - b }')
trends_rss_mb=$(awk -v a="$trends_rss" 'BEGIN { printf "%.1f", a / 1024 }')

fake_recording 3600 >"$work/hour.csv"
hour_rows=$(($(wc -l <"$work/hour.csv") - 1))
open_times=()
for i in $(seq "$opens"); do
    out=$("$shot" "$work/hour.csv") || fail "quelo-trends-shot failed"
    open_times+=("$(awk '{ for (i = 1; i < NF; i++) if ($i == "total-ms") print $(i + 1) }' <<<"$out")")
done
open_ms=$(printf '%s\n' "${open_times[@]}" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
open_max=$(printf '%s\n' "${open_times[@]}" | sort -g | tail -n1)

# --- At rest side by side with the reference window, and a replay at 16x. ---------------------
measure_side_by_side
measure_replay

# --- Table. -------------------------------------------------------------------------------------
peak_rss_mb=$(awk -v a="$moving_rss" -v b="$rest_rss" 'BEGIN { printf "%.1f", (a > b ? a : b) / 1024 }')
ratio=$(awk -v c="$moving_cpu" -v r="$spin_reference" 'BEGIN { printf "%.0f", (c > 0 ? r / c : 0) }')
ratio_ok=$(awk -v x="$ratio" 'BEGIN { print (x >= 20) ? "ok" : "MISS" }')

printf '\n%-44s %12s %10s %s\n' "quantity" "measured" "target" ""
printf '%-44s %12s %10s %s\n' "CPU, needles moving (% of one core)" "$moving_cpu" "<= 3" \
    "$(verdict "$moving_cpu" 3)"
printf '%-44s %12s %10s %s\n' "CPU, needles at rest, polling (% of a core)" "$rest_cpu" "<= 1" \
    "$(verdict "$rest_cpu" 1)"
printf '%-44s %12s %10s %s\n' "  quelo-sim beside it (not counted)" "$sim_cpu" "" ""
printf '%-44s %12s %10s %s\n' "CPU, searching after a lost link ($search_rounds rounds)" \
    "$search_cpu" "<= 1" "$(verdict "$search_cpu" 1)"
printf '%-44s %12s %10s %s\n' "  module back: reconnected after (s)" "$reconnect_s" "<= 10.5" \
    "$(verdict "$reconnect_s" 10.5)"
printf '%-44s %12s %10s %s\n' "gauge repaints/s, needles moving" "$moving_gauge" "" \
    "(all widgets: $moving_widget)"
printf '%-44s %12s %10s %s\n' "gauge repaints/s, needles at rest" "$rest_gauge" "0" \
    "$(verdict "$rest_gauge" 0) (all widgets: $rest_widget)"
printf '%-44s %12s %10s %s\n' "peak RSS (MB)" "$peak_rss_mb" "<= 45" "$(verdict "$peak_rss_mb" 45)"
printf '%-44s %12s %10s %s\n' "first paint after process start (ms), median" "$paint_median" \
    "<= 100" "$(verdict "$paint_median" 100)"
printf '%-44s %12s %10s %s\n' "  slowest of ${#paints[@]} starts" "$paint_max" "<= 100" \
    "$(verdict "$paint_max" 100)"
printf '%-44s %12s %10s %s\n' "CPU, steady run side by side: plain" "$plain_cpu" "" ""
printf '%-44s %12s %10s %s\n' "  with --record, extra points ($record_rows rows)" "$record_extra" "<= 0.1" \
    "$(verdict "$record_extra" 0.1)"
printf '%-44s %12s %10s %s\n' "  with Trends open and live, extra points" "$trends_extra" "<= 2" \
    "$(verdict "$trends_extra" 2)"
printf '%-44s %12s %10s %s\n' "peak RSS with Trends open (MB)" "$trends_rss_mb" "<= 80" \
    "$(verdict "$trends_rss_mb" 80)"
printf '%-44s %12s %10s %s\n' "open a $hour_rows-row recording (ms), median" "$open_ms" "< 1000" \
    "$(verdict "$open_ms" 999)"
printf '%-44s %12s %10s %s\n' "  slowest of $opens" "$open_max" "< 1000" "$(verdict "$open_max" 999)"
printf '%-44s %12s %10s %s\n' "less CPU than the spinning pause (${spin_reference} %)" "${ratio}x" \
    ">= 20x" "$ratio_ok"
print_rest_rows
