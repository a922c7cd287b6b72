#!/usr/bin/env bash
# Non-blank lines of product code and of test code (sources and headers
# kept by git; data files under tests/donnees are not code), and their
# ratio. The project keeps tests at a quarter to a third of the code, 0.35
# at most: exit status 1 above that.
set -euo pipefail
cd "$(dirname "$0")/.."
compter() {
  git ls-files -- "$@" | grep -E '\.(cpp|h|hpp|cc)$' | grep -v '^tests/donnees/' |
    xargs -r cat | grep -c -v '^[[:space:]]*$' || true
}
produit=$(compter engine host hostapi platform screen control printing apps)
tests=$(compter tests)
rapport=$(awk -v t="$tests" -v p="$produit" 'BEGIN { printf "%.3f", t / p }')
echo "Lignes non vides : produit $produit, tests $tests, rapport $rapport (limite 0,350)"
awk -v t="$tests" -v p="$produit" 'BEGIN { exit !(t <= 0.35 * p) }'
