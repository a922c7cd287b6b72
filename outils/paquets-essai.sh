#!/usr/bin/env bash
# The Debian packages, tried on this machine as a workstation would use them:
# built (cpack), checked (lintian: no error), installed with apt-get, used
# from the installed files only, then purged, leaving nothing behind but
# users' own stores and registries. Run as root (apt-get, the machine's
# registry).
#
#   outils/paquets-essai.sh
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
cd "$racine"
paquets=(libpavonis1 libpavonis-dev pavonis-outils)

echo "-- Construction des paquets"
cmake --preset paquet > /dev/null
cmake --build --preset paquet
rm -f build-paquet/*.deb
(cd build-paquet && cpack > /dev/null)
ls -l build-paquet/*.deb

echo "-- lintian"
lintian --tag-display-limit 0 build-paquet/*.deb | tee /tmp/pavonis-lintian.txt || true
if grep -q '^E:' /tmp/pavonis-lintian.txt; then
  echo "lintian signale des erreurs" >&2
  exit 1
fi

echo "-- Installation"
avant="$(mktemp)"
find /usr /etc -xdev \( -type f -o -type l \) 2> /dev/null | sort > "$avant"
DEBIAN_FRONTEND=noninteractive apt-get install -y ./build-paquet/*.deb > /dev/null
grep -q '"Pavonis.Uc_Pavonis"' /etc/pavonis/registre-composants.json

echo "-- Programmes installés"
travail="$(mktemp -d)"
export XDG_DATA_HOME="$travail/donnees" XDG_CONFIG_HOME="$travail/config" QT_QPA_PLATFORM=offscreen
/usr/bin/pavonis-gir /usr/share/pavonis/exemples/evaluations.csv > "$travail/gir.csv"
head -2 "$travail/gir.csv"
(cd "$travail" && /usr/bin/pavonis-hote --scenario /usr/share/pavonis/exemples/scenario-demo.txt \
  --etat etat.json > /dev/null)
grep -q '"Txt_Groupe"' "$travail/etat.json"
# The control came from the machine's registry: no user registry was written.
test ! -e "$XDG_CONFIG_HOME/pavonis/registre-composants.json"
/usr/bin/pavonis-rapport /usr/share/pavonis/exemples/evaluation.json -o "$travail/rapport.pdf" --pdfa
man -w pavonis-gir > /dev/null

echo "-- Hôtes construits sur les fichiers installés"
cmake -S exemples/consommateur -B "$travail/cmake" -G Ninja > /dev/null
cmake --build "$travail/cmake" > /dev/null
"$travail/cmake/consommateur"
cmake -S exemples/consommateur -B "$travail/pkgconfig" -G Ninja -DPAVONIS_PKGCONFIG=ON > /dev/null
cmake --build "$travail/pkgconfig" > /dev/null
"$travail/pkgconfig/consommateur"
test -f /usr/lib/x86_64-linux-gnu/qt6/plugins/designer/libpavonis-designer.so

echo "-- Retrait"
DEBIAN_FRONTEND=noninteractive apt-get purge -y "${paquets[@]}" > /dev/null
apres="$(mktemp)"
find /usr /etc -xdev \( -type f -o -type l \) 2> /dev/null | sort > "$apres"
if ! diff "$avant" "$apres"; then
  echo "des fichiers restent après le retrait des paquets" >&2
  exit 1
fi
test ! -e /etc/pavonis
rm -rf "$travail" "$avant" "$apres"
echo "Paquets essayés : installés, utilisés, retirés sans reste."
