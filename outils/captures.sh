#!/usr/bin/env bash
# Screenshots of docs/, as a user sees them: the demo host on a virtual X
# display (Xvfb, openbox), driven with xdotool, captured with ImageMagick's
# import; the A4 page from pavonis-rapport through pdftoppm.
#
#   outils/captures.sh [BUILD]     (BUILD: build directory, default build)
#
# Needs: xvfb openbox xdotool imagemagick poppler-utils, and a build.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$racine/build}" && pwd)"
docs="$racine/docs"
travail="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$travail"' EXIT
export XDG_DATA_HOME="$travail/donnees" XDG_CONFIG_HOME="$travail/config" PAVONIS_DATE_DU_JOUR=2026-12-05
inventaire="$racine/tests/donnees/ecran-inventaire.tsv"

# Centre of a control in the host window, in pixels (15 twips a pixel at
# 96 dpi): its place within its containers, from the screen's inventory.
centre() {
  awk -F'\t' -v nom="$1" -v decalage="${2:-0}" '
    NR > 1 { parent[$1] = $3; g[$1] = $5; h[$1] = $6; l[$1] = $7; t[$1] = $8 }
    END {
      x = g[nom] + l[nom] / 2; y = h[nom] + t[nom] / 2 - decalage
      for (p = parent[nom]; p != ""; p = parent[p]) { x += g[p]; y += h[p] }
      printf "%d %d\n", x / 15, y / 15
    }' "$inventaire"
}

# Starts a display of the given size and the demo host on it, with the
# example evaluation; sets $fenetre.
demarrer() {
  arreter
  Xvfb :97 -screen 0 "${1}x24" -dpi 96 -nolisten tcp > /dev/null 2>&1 &
  export DISPLAY=:97
  for _ in $(seq 50); do xdotool getdisplaygeometry > /dev/null 2>&1 && break; sleep 0.1; done
  openbox > /dev/null 2>&1 &
  sleep 0.5
  "$build/bin/pavonis-hote" --charger "$racine/exemples/evaluation.json" > /dev/null 2>&1 &
  fenetre=$(xdotool search --sync --name "Outil grille Aggir")
  xdotool windowactivate --sync "$fenetre" > /dev/null 2>&1 || true
  sleep 1
}
arreter() {
  pkill -f "pavonis-hote --charger" 2>/dev/null || true
  pkill -x openbox 2>/dev/null || true
  pkill -f "Xvfb :97" 2>/dev/null || true
  sleep 0.3
}
# Moves the mouse over a control, and clicks it if asked.
viser() {
  read -r x y < <(centre "$1" "${3:-0}")
  xdotool mousemove --window "$fenetre" "$x" "$y"
  sleep 0.3
  if [ "${2:-}" = clic ]; then xdotool click 1; sleep 0.3; fi
}
capturer() { import -window "$fenetre" "$docs/$1"; echo "docs/$1"; }

demarrer 1280x1024
capturer ecran-pavonis.png
viser Etq_Toilette2008 clic
capturer volet-aide-droite.png
viser Etq_Toilette2008 clic
viser Etq_Cuisine2008 clic
capturer volet-aide-gauche.png

demarrer 1024x600
capturer petite-disposition.png
viser Etq_Toilette2008
for _ in 1 2 3 4 5 6; do xdotool click 5; sleep 0.1; done
sleep 0.3
capturer petite-disposition-molette.png
demarrer 1024x600
viser Txt_NomEnqueteur clic
xdotool key Tab # to "Retour", below the window
sleep 0.5
capturer petite-disposition-tabulation.png
arreter

"$build/bin/pavonis-rapport" "$racine/exemples/evaluation.json" -o "$travail/rapport.pdf"
pdftoppm -r 60 -png -singlefile "$travail/rapport.pdf" "$docs/rapport-a4"
echo docs/rapport-a4.png

# The browser's component in Chromium and its printed page.
if [ -d "$build/web/site" ]; then
  node "$racine/outils/capture-navigateur.mjs" "$build/web/site" "$docs"
  echo docs/navigateur-grille.png docs/navigateur-page.png
fi
