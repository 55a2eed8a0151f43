#!/usr/bin/env bash
# Measures quelo-link offscreen against its performance targets and prints a table:
#   - needles moving: `quelo-link --demo` for MOVING_S seconds (default 60);
#   - needles at rest, polling going on: `quelo-sim --steady` (engine held at idle) and
#     `quelo-link --ports` on it, measured from REST_SETTLE_S to REST_S seconds (default 20..50:
#     after connecting, the first pass over the module's parameters takes about 13 s and moves
#     the advance needle and its band once);
#   - first paint: the time from process start to the end of the window's first paint, over the
#     runs above and STARTS short extra runs (default 5).
# CPU is utime+stime from /proc as a percentage of one core; peak RSS is VmHWM. Repaints come
# from the program's "quelo.perf" logging category. Takes about two minutes; not for CI.
#
# Usage: scripts/measure.sh            (builds quelo-link and quelo-sim into $BUILD_DIR first,
#                                       default build-perf)
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
cmake --build "$build" -j"${JOBS:-2}" --target quelo-link quelo-sim >/dev/null
link="$build/bin/quelo-link"
sim="$build/bin/quelo-sim"

work=$(mktemp -d /tmp/quelo-measure.XXXXXX)
export QT_QPA_PLATFORM=offscreen
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

clk_tck=$(getconf CLK_TCK)

# utime+stime of a process, in clock ticks.
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
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

echo "Measuring $link on $(nproc) cores ($(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)); about $((moving_s + rest_s + 2 * starts + 10)) s"

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

# --- First paint: the two runs above and a few short ones. --------------------------------------
paints=("$(first_paint "$work/moving.log")" "$(first_paint "$work/rest.log")")
for i in $(seq "$starts"); do
    "$link" --demo --quit-after 0.3 2>"$work/start$i.log" || fail "short run $i failed"
    paints+=("$(first_paint "$work/start$i.log")")
done
read -r paint_median paint_max < <(printf '%s\n' "${paints[@]}" | sort -g | awk '
    { v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
                         printf "%.1f %.1f\n", m, v[NR] }')

# --- Table. -------------------------------------------------------------------------------------
verdict() { awk -v v="$1" -v lim="$2" 'BEGIN { print (v != "n/a" && v + 0 <= lim + 0) ? "ok" : "MISS" }'; }
peak_rss_mb=$(awk -v a="$moving_rss" -v b="$rest_rss" 'BEGIN { printf "%.1f", (a > b ? a : b) / 1024 }')
ratio=$(awk -v c="$moving_cpu" -v r="$spin_reference" 'BEGIN { printf "%.0f", (c > 0 ? r / c : 0) }')
ratio_ok=$(awk -v x="$ratio" 'BEGIN { print (x >= 20) ? "ok" : "MISS" }')

printf '\n%-44s %12s %10s %s\n' "quantity" "measured" "target" ""
printf '%-44s %12s %10s %s\n' "CPU, needles moving (% of one core)" "$moving_cpu" "<= 3" \
    "$(verdict "$moving_cpu" 3)"
printf '%-44s %12s %10s %s\n' "CPU, needles at rest, polling (% of a core)" "$rest_cpu" "<= 1" \
    "$(verdict "$rest_cpu" 1)"
printf '%-44s %12s %10s %s\n' "  quelo-sim beside it (not counted)" "$sim_cpu" "" ""
printf '%-44s %12s %10s %s\n' "gauge repaints/s, needles moving" "$moving_gauge" "" \
    "(all widgets: $moving_widget)"
printf '%-44s %12s %10s %s\n' "gauge repaints/s, needles at rest" "$rest_gauge" "0" \
    "$(verdict "$rest_gauge" 0) (all widgets: $rest_widget)"
printf '%-44s %12s %10s %s\n' "peak RSS (MB)" "$peak_rss_mb" "<= 45" "$(verdict "$peak_rss_mb" 45)"
printf '%-44s %12s %10s %s\n' "first paint after process start (ms), median" "$paint_median" \
    "<= 100" "$(verdict "$paint_median" 100)"
printf '%-44s %12s %10s %s\n' "  slowest of ${#paints[@]} starts" "$paint_max" "<= 100" \
    "$(verdict "$paint_max" 100)"
printf '%-44s %12s %10s %s\n' "less CPU than the spinning pause (${spin_reference} %)" "${ratio}x" \
    ">= 20x" "$ratio_ok"
