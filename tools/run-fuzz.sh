#!/bin/bash
# Runs each fuzz target of a fuzz build (make fuzz) for a bounded time,
# seeded from the game build's generated data and tests/fuzz/seeds/.
#   tools/run-fuzz.sh <fuzz build> <game build> [target...]
# FUZZ_SECONDS (60) is the time per target; FUZZ_RUNS, when set, bounds the
# executions instead; FUZZ_SEED, when set, fixes libFuzzer's random seed, so
# that a run explores the same inputs again. New inputs collect in <fuzz build>/corpus/<target>/,
# failing ones in <fuzz build>/crashes/. Exits non-zero when any target
# crashed, leaked, hung or broke one of its checks.
set -uo pipefail
fuzz_build=$1
game_build=$2
shift 2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(scene_file ogg arguments plugin_config)
if [ -n "${FUZZ_RUNS:-}" ]; then bound=(-runs="$FUZZ_RUNS"); else bound=(-max_total_time="${FUZZ_SECONDS:-60}"); fi
[ -z "${FUZZ_SEED:-}" ] || bound+=(-seed="$FUZZ_SEED")

export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$source_dir/tests/fuzz/lsan-suppressions.txt:print_suppressions=0
failed=()
for target in "${targets[@]}"; do
    runner=()
    # Leak checks stay on except for the scene files: that target runs the
    # GL driver, whose allocations live until exit; the engine's image code
    # frees malloc'ed pixels with delete[].
    asan=detect_leaks=1
    case $target in
    scene_file)
        generated=("$game_build/media/scenes")
        runner=(xvfb-run -a -s "-noreset -screen 0 1024x768x24")
        asan=detect_leaks=0:alloc_dealloc_mismatch=0
        max_len=8192 ;;
    # The first pages of the game's sounds: their headers and some audio.
    ogg) generated=("$game_build/media/sound"); max_len=16384 ;;
    arguments | plugin_config) generated=("$game_build/cfg"); max_len=4096 ;;
    *) echo "run-fuzz: no target \"$target\"" >&2; exit 2 ;;
    esac
    corpus=$fuzz_build/corpus/$target
    mkdir -p "$corpus" "$fuzz_build/crashes"
    echo "== fuzz_$target"
    ASAN_OPTIONS=$asan "${runner[@]}" "$fuzz_build/tests/fuzz/fuzz_$target" \
        "${bound[@]}" -max_len=$max_len -timeout=10 -close_fd_mask=3 -print_final_stats=1 \
        -artifact_prefix="$fuzz_build/crashes/$target-" \
        "$corpus" "$source_dir/tests/fuzz/seeds/$target" "${generated[@]}" 2>&1 |
        grep -E '^(==|INFO: Seed|stat::|#[0-9]+ *DONE)|ERROR|SUMMARY|Test unit written|crash-|leak-|timeout-|oom-|deadly'
    status=${PIPESTATUS[0]}
    echo "fuzz_$target: exit $status, corpus $(find "$corpus" -type f | wc -l) files"
    [ "$status" -eq 0 ] || failed+=("$target")
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzing failed: ${failed[*]} (inputs in $fuzz_build/crashes/)" >&2
    exit 1
fi
