#!/usr/bin/env bash
# Non-blank lines kept by git, in every language (C++, JavaScript, Python,
# shell): what exists only to test against everything shipped, and their
# ratio. The project keeps tests at a third of the product at most: exit
# status 1 above 0.33.
#
# Shipped: every product folder, the example hosts, the browser component.
# Test only: tests/ (Qt Test, browser tests, JSON validators, the
# differential corpus' generator), fuzz/, and the scripts that exist for the
# tests: the private CUPS server, fault planting, fuzzing, the package trial,
# this measure. Reviewed data files (tests/donnees) are not code.
set -euo pipefail
cd "$(dirname "$0")/.."
compter() {
  git ls-files -- "$@" | grep -E '\.(cpp|h|hpp|cc|c|mjs|js|ts|py|sh)$' |
    xargs -r cat | grep -c -v '^[[:space:]]*$' || true
}
produit=$(compter engine evaluation files host hostapi presentation platform screen printing control apps web exemples)
tests=$(compter tests fuzz outils/cups-prive.sh outils/mutations.sh outils/fuzz.sh outils/paquets-essai.sh outils/mesure-tests.sh)
rapport=$(awk -v t="$tests" -v p="$produit" 'BEGIN { printf "%.3f", t / p }')
echo "Lignes non vides : produit $produit, essais $tests, rapport $rapport (limite 0,330)"
awk -v t="$tests" -v p="$produit" 'BEGIN { exit !(t <= 0.33 * p) }'
