#!/usr/bin/env bash
# Benchmarks the SZDD codec (codec/szdd_*.cpp) against libmspack (decoding speed) and
# mscompress (compressed size) on a fixed corpus, and prints a Markdown report.
#
#   scripts/dev/bench-szdd.sh [--out FILE] [--min-time SECONDS] [PAYLOAD_DIR]
#
# PAYLOAD_DIR: the product's payload folder (default build/win/payload; skipped with a
# note when absent). Files in it that are already SZDD-compressed are expanded first.
# The rest of the corpus is gathered from this machine in a fixed, sorted order:
# licence and copyright texts, HTML documentation, executables (/usr/bin and Wine's
# Windows DLLs and EXEs when installed) and random data made with a fixed seed.
# --out FILE also writes the report to FILE. Builds the native tree's szdd_bench first.
set -euo pipefail
shopt -s lastpipe  # `... | add_group` runs add_group in this shell, so it can add to the arrays
command_line="scripts/dev/bench-szdd.sh${*:+ $*}"

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="$root/build/native"
out=""
min_time=0.3
payload=""
while [ $# -gt 0 ]; do
  case "$1" in
    --out) out=$2; shift 2 ;;
    --min-time) min_time=$2; shift 2 ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    -*) echo "bench-szdd.sh: unknown option $1" >&2; exit 2 ;;
    *) payload=$1; shift ;;
  esac
done
payload=${payload:-$root/build/win/payload}

for tool in cmake python3 mscompress; do
  command -v "$tool" >/dev/null || { echo "bench-szdd.sh: $tool is missing (scripts/make/install-deps.sh installs it)" >&2; exit 1; }
done

echo "Building szdd_bench in $build" >&2
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target szdd_bench -- -j"$(nproc)" >/dev/null
bench="$build/bench/szdd_bench"

export LC_ALL=C  # the sort order of the corpus
generated="$build/bench/corpus"
mkdir -p "$generated"
notes=()
args=()

# Regular files only, real paths, no duplicates (many licences are symlinks to others).
unique_files() { while IFS= read -r f; do [ -f "$f" ] && readlink -f -- "$f"; done | awk '!seen[$0]++'; }
# Sizes in a range [min, max] bytes.
sized() { while IFS= read -r f; do s=$(stat -Lc %s -- "$f"); [ "$s" -ge "$1" ] && [ "$s" -le "$2" ] && echo "$f"; done; true; }
# N entries spread evenly over a sorted list (deterministic, not just the first letters).
spread() { awk -v n="$1" '{a[NR]=$0} END {if (NR <= n) {for (i = 1; i <= NR; i++) print a[i]} else {for (i = 0; i < n; i++) print a[int(i * NR / n) + 1]}}'; }
add_group() {  # name, then files from stdin
  local name=$1 files=()
  mapfile -t files
  if [ ${#files[@]} -eq 0 ]; then notes+=("group $name: no files found on this machine, skipped"); return; fi
  args+=("--group=$name" "${files[@]}")
}

# Listing commands may fail harmlessly (no match, a closed pipe): no pipefail while gathering.
set +o pipefail

# (1) The product's payload.
if [ -d "$payload" ]; then
  find "$payload" -type f | sort | head -n 100 | add_group payload
else
  notes+=("payload folder $payload is absent (the Windows build makes it), skipped; pass a folder as the first argument, e.g. resources/payload for the uncompressed sources")
fi

# (2) The mixed corpus.
{ ls -d /usr/share/common-licenses/* 2>/dev/null | unique_files | sized 1 1000000
  ls -d /usr/share/doc/*/copyright 2>/dev/null | unique_files | sized 2048 65536 | spread 10
} | add_group text
find /usr/share -name '*.html' -type f 2>/dev/null | sort | unique_files | sized 4096 262144 | spread 12 | add_group html
{ for b in bash tar grep sed find gzip; do [ -f "/usr/bin/$b" ] && readlink -f "/usr/bin/$b"; done
  # Wine's own Windows programs: the machine's, else those of the project's Wine root.
  for d in /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows \
           /var/cache/mp3-sondrel/wine-root/root/usr/lib/x86_64-linux-gnu/wine/i386-windows; do
    [ -d "$d" ] || continue
    find "$d" -maxdepth 1 -type f \( -name '*.dll' -o -name '*.exe' \) | sort | sized 65536 1048576 | spread 8
    break
  done
} | add_group exe
# Random data: no encoder of the format can shrink it (it has no stored mode), so it is
# a small part of the mix; RANDOM_KB makes it larger to see its weight on the total.
python3 - "$generated" "${RANDOM_KB:-64}" <<'EOF'
import random, sys
random.seed(20261208)
with open(f"{sys.argv[1]}/random.bin", "wb") as f:
    f.write(random.randbytes(int(sys.argv[2]) * 1024))
EOF
printf '%s\n' "$generated/random.bin" | add_group random

set -o pipefail

total=0 count=0
for a in "${args[@]}"; do
  case "$a" in --group=*) ;; *) total=$((total + $(stat -Lc %s -- "$a"))); count=$((count + 1)) ;; esac
done

report() {
  echo "# SZDD codec benchmark"
  echo
  echo "Produced by \`$command_line\` (in $root)."
  echo
  echo "- date: $(date -u '+%Y-%m-%d %H:%M:%S UTC')"
  echo "- machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(uname -sr)"
  echo "- load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "- compiler of szdd_bench: $("$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")" --version | head -n1), -O2"
  echo "- clang (fuzzer): $( (clang++ --version 2>/dev/null || echo absent) | head -n1)"
  echo "- libmspack: $(dpkg-query -W -f='${Version}' libmspack0 2>/dev/null || echo unknown); mscompress: $(dpkg-query -W -f='${Version}' mscompress 2>/dev/null || echo unknown)"
  echo "- corpus: $count files, $total bytes in all"
  for n in "${notes[@]}"; do echo "- note: $n"; done
  echo
  "$bench" --min-time="$min_time" "${args[@]}"
}

status=0
if [ -n "$out" ]; then
  report | tee "$out" || status=$?
else
  report || status=$?
fi
exit "$status"
