#!/usr/bin/env bash
# Runs every libFuzzer target of the "fuzz" preset from its seed corpus, for
# a bounded time each (default 30 s), under ASan + UBSan. Exit status 1 at
# the first finding; the reproducer is left in the working folder.
#
#   outils/fuzz.sh [SECONDES] [CIBLE...]
set -euo pipefail
cd "$(dirname "$0")/.."
duree=${1:-30}
shift || true
cibles=("$@")
[ ${#cibles[@]} -gt 0 ] || cibles=(fuzz_csv fuzz_magasin fuzz_scenario fuzz_date fuzz_registre fuzz_evaluation)
travail=$(mktemp -d)
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for cible in "${cibles[@]}"; do
  binaire=build-fuzz/bin/$cible
  [ -x "$binaire" ] || { echo "fuzz : $binaire manque (cmake --preset fuzz && cmake --build --preset fuzz)" >&2; exit 2; }
  mkdir -p "$travail/$cible"
  cp -r "fuzz/corpus/$cible/." "$travail/$cible/"
  journal=$travail/$cible.log
  if ! (cd "$travail" && "$OLDPWD/$binaire" -max_total_time="$duree" -timeout=10 -rss_limit_mb=2048 \
          -print_final_stats=1 "$cible" >"$journal" 2>&1); then
    echo "fuzz : $cible a trouvé un défaut ; reproduction dans $travail :" >&2
    tail -40 "$journal" >&2
    exit 1
  fi
  executions=$(grep -m1 'stat::number_of_executed_units' "$journal" | awk '{print $2}')
  echo "fuzz : $cible : ${executions:-?} exécutions en $duree s, aucun défaut"
done
rm -rf "$travail"
