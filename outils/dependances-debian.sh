#!/usr/bin/env bash
# Installs what Pavonis needs to build, run and test on Debian 12, and to
# build its Debian packages (Qt Designer's plugin, the API reference,
# lintian) and its browser's component (Emscripten, Chromium for its tests).
set -euo pipefail

paquets=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n libgl-dev
  libsqlite3-dev libsimdjson-dev libbenchmark-dev
  libcups2-dev cups cups-client cups-bsd printer-driver-cups-pdf
  fonts-liberation poppler-utils mupdf-tools xvfb xauth strace
  emscripten node-acorn chromium
  clang libclang-rt-14-dev clang-format
  qt6-tools-dev doxygen lintian dpkg-dev file man-db
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
manquants=()
for p in "${paquets[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants+=("$p")
done
# Node.js and npm for the JSON and FHIR validation tests: any installation
# will do (Debian's, or another repository's that brings npm with it).
# clang-format checks the layout of every C++ file in CI.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  manquants+=(nodejs npm)
fi
if [ ${#manquants[@]} -gt 0 ]; then
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${manquants[@]}"
fi

# JavaScript packages at the versions each package-lock.json pins: simdjson's
# source for the browser's build (web/), the browser tests' tools (the root),
# the JSON Schema and FHIR validators (tests/json).
for dossier in web . tests/json; do
  (cd "$(dirname "$0")/../$dossier" && npm ci --no-audit --no-fund --loglevel=error)
done
