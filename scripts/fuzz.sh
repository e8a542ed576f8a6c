#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan) and runs each for a
# given time on seeds made here from the project corpus and the examples.
#
#   scripts/fuzz.sh SECONDS [TARGET...]      default: every target, one after the other
#
# Environment: BUILD (default build-fuzz), CORPUS (default ../shared/corpus),
# JOBS (targets run at once, default 1), FUZZ_SEEDS_MAX (seeds per target, for
# a short smoke run; default all), FUZZ_RUNS (a fixed number of inputs from a
# fixed random seed instead of SECONDS, so that a smoke run in CI is the same
# run every time), FUZZ_KEEP_GOING=1 (go on after a finding,
# in libFuzzer's fork mode, so that a long run collects every finding). Seeds go to $BUILD/fuzz-seeds/<target>,
# the inputs libFuzzer keeps to $BUILD/fuzz-corpus/<target>, inputs that found
# something to $BUILD/fuzz-findings/<target>-*; once fixed, such an input is
# kept in fuzz/regressions/<target>/ and every run starts with it. Each run's log ends with
# libFuzzer's statistics (stat::number_of_executed_units is the executions).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
build=$(realpath -m "${BUILD:-build-fuzz}")  # absolute: a target may change folder
corpus=${CORPUS:-../shared/corpus}
jobs=${JOBS:-1}
all=(project_reader profile_file module_checks code_generators cli_args pattern_file)
targets=("$@")
((${#targets[@]})) || targets=("${all[@]}")

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(cd .. && pwd)}
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DTARNO_FUZZ=ON -DTARNO_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

seeds=$build/fuzz-seeds
mkdir -p "$seeds" "$build/fuzz-findings"
for t in "${targets[@]}"; do rm -rf "${seeds:?}/$t"; done

# Files of the given extensions under the corpus and the examples, small ones only.
sources() {
  local args=() first=1
  for ext in "$@"; do
    ((first)) || args+=(-o)
    args+=(-iname "*.$ext")
    first=0
  done
  find "$corpus" examples -type f \( "${args[@]}" \) -size -64k 2>/dev/null | sort
}

# project_reader: a selector byte (file kind), then the file.
seed_project_reader() {
  local d=$seeds/project_reader n=0 f kind frx
  mkdir -p "$d"
  while IFS= read -r f; do
    case "${f,,}" in
      *.vbp) kind='\x00' ;; *.vbg) kind='\x01' ;; *.frm) kind='\x02' ;; *.ctl) kind='\x03' ;;
      *.cls) kind='\x04' ;; *.dsr) kind='\x05' ;; *) kind='\x06' ;;
    esac
    n=$((n + 1))
    {
      printf "$kind"
      cat "$f"
      frx="${f%.*}.frx"
      [[ ${f,,} == *.ctl ]] && frx="${f%.*}.ctx"
      if [[ ${f,,} == *.frm || ${f,,} == *.ctl ]] && [[ -f $frx ]]; then
        printf '\n#BINARY#\n'
        head -c 4096 "$frx"
      fi
    } >"$d/$n"
  done < <(sources vbp vbg frm ctl cls dsr bas)
}

# profile_file: section, key and value (each ended by a backslash and a
# blank), then the file.
seed_profile_file() {
  local d=$seeds/profile_file
  mkdir -p "$d"
  printf 'Settings\\ AutoSaveOn\\ 1\\ [Settings]\r\nAutoSaveOn=0\r\nAutoSaveInterval=10\r\n\r\n[Comment]\r\nComment0=x\r\n' >"$d/1"
  printf 'a\\ k\\  "v" \\ ; head\n[a]\nk = old ; tail\n[A]\nk=dup\n[b]\r\nx\r\n' >"$d/2"
  printf 'New\\ Key\\ v\\ no sections at all\rjust=lines' >"$d/3"
  printf 'Settings\\ CurrentCommentNo\\ 3\\ \xef\xbb\xbf[Settings]\nCurrentCommentNo=1\n[\x83\x5d]\nKey=\x83\x5d\n' >"$d/4"
}

# module_checks: the modules as they are (one module each).
seed_module_checks() {
  local d=$seeds/module_checks n=0 f
  mkdir -p "$d"
  while IFS= read -r f; do
    n=$((n + 1))
    cp "$f" "$d/$n"
  done < <(sources bas cls)
}

# code_generators: an empty registered text, the module, then the operation and
# the selection (taken from the end of the input).
seed_code_generators() {
  local d=$seeds/code_generators n=0 f
  mkdir -p "$d"
  while IFS= read -r f; do
    n=$((n + 1))
    {
      printf "'x|y\\\\ "
      cat "$f"
      printf "\\x0$((n % 8))\\x03\\x00\\x01\\x00\\x09\\x00\\x01\\x00\\x05\\x01"
    } >"$d/$n"
  done < <(sources bas cls | head -n 200)
}

# cli_args: command lines, arguments separated by NUL bytes.
seed_cli_args() {
  local d=$seeds/cli_args n=0 line
  mkdir -p "$d"
  while IFS= read -r line; do
    n=$((n + 1))
    printf '%s' "$line" | tr ' ' '\0' >"$d/$n"
  done <<'LINES'
info P.vbp --format json
check variables P.vbp --module Module1 --format sarif --log out.txt
check procedures F.bas --format text
comment F.bas --lines 3:7
uncomment F.bas --lines 2
insert error-header F.bas --line 4
insert comment F.bas --line 1
comment-out P.vbp --module M --procedure Main
comment-out F.bas --all
error-handling P.vbp --module M --all --registered
comments list
comments set 3 --text 'x
comments use 2
comments clear 9
error-texts show
error-texts set --label Err_Handler --footer x --exit 0
menus --added-only
--version
--help
LINES
}

# pattern_file: a typed name (ended by a backslash and a blank), then the
# stored file: hand-made names that try to leave the root, and module files
# of the corpus as pattern texts.
seed_pattern_file() {
  local d=$seeds/pattern_file n=0 f
  mkdir -p "$d"
  printf '../evil\\ On Error GoTo ErrHandler\r\n' >"$d/a"
  printf '..\\ \r\n  lead\rlone\nlf\r\n\r\n' >"$d/b"
  printf '.\\ \x82\xa0\x83\x5d\r\n' >"$d/c"
  printf ' a /b\\ x' >"$d/d"
  while IFS= read -r f; do
    n=$((n + 1))
    { printf 'Pattern%d\\ ' "$n"; head -c 8192 "$f"; } >"$d/$n"
  done < <(sources bas | head -200)
}

run() {
  local t=$1 log=$build/fuzz-$1.log rc=0
  mkdir -p "$build/fuzz-corpus/$t"
  local quiet=()
  [[ $t == cli_args ]] && quiet=(-close_fd_mask=3)  # the commands' own messages
  [[ -n ${FUZZ_KEEP_GOING:-} ]] && quiet+=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
  # Inputs that once found a fault run first, every time (read only: new
  # inputs go to the first folder).
  local regressions=()
  [[ -d fuzz/regressions/$t ]] && regressions=("fuzz/regressions/$t")
  local budget=(-max_total_time="$seconds")
  [[ -n ${FUZZ_RUNS:-} ]] && budget=(-runs="$FUZZ_RUNS" -seed=1 -max_total_time="$seconds")
  nice -n 19 "$build/fuzz/fuzz_$t" "${quiet[@]}" "${budget[@]}" -timeout=20 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/$t-" "$build/fuzz-corpus/$t" "$seeds/$t" \
    "${regressions[@]}" >"$log" 2>&1 ||
    rc=$?
  local execs
  execs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' ||
    grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#' || echo '?')
  echo "fuzz_$t: exit $rc, $execs executions in ${seconds}s (log $log)"
  ((rc == 0)) || { grep -m1 -A3 'ERROR\|fuzz check failed' "$log" || true; }
  return $rc
}

for t in "${targets[@]}"; do
  "seed_$t"
  if [[ -n ${FUZZ_SEEDS_MAX:-} ]]; then
    find "$seeds/$t" -type f | sort -V | tail -n +"$((FUZZ_SEEDS_MAX + 1))" | xargs -r rm -f
  fi
done
status=0
pids=()
for t in "${targets[@]}"; do
  run "$t" &
  pids+=($!)
  if ((${#pids[@]} >= jobs)); then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
exit $status
