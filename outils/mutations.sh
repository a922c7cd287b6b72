#!/usr/bin/env bash
# Fault injection: plants each bug of outils/mutations.tsv in turn, rebuilds,
# runs the test suite and tells whether the suite caught it.
#
#   outils/mutations.sh [--ici] [--echantillon] [--seulement NOM[,NOM...]]
#                       [--liste] [--verifier] [--sans-reference] [--validee]
#                       [--tests REGEX] [--garder]
#
# Default: works in a scratch copy of the working tree (uncommitted changes
# included, build directories and .git left out) under ${TMPDIR:-/tmp}, with
# its own build directory. --ici works in this tree and its build/ directory
# (after the normal build, as CI does); every file is restored after each
# fault, also on interruption. --validee copies the last commit only.
# --sans-reference skips the check that the unmodified tree passes the suite.
# --liste prints the faults, --verifier only checks that each one's text is
# found exactly once; neither builds anything.
#
# Writes mutations-resultats.tsv in the current directory. Exit status 0 when
# every fault run was caught, 1 otherwise, 2 on a usage or set-up error.
set -euo pipefail

racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
liste="${MUTATIONS_LISTE:-$racine/outils/mutations.tsv}"
depart="$PWD"

ici=0 echantillon=0 seulement="" mode=executer reference=1 validee=0 garder=0 filtre=""
usage() {
  cat << 'AIDE'
Usage : outils/mutations.sh [--ici] [--echantillon] [--seulement NOM[,NOM...]]
                            [--liste] [--verifier] [--sans-reference] [--validee]
                            [--tests REGEX] [--garder]

Injecte tour à tour chaque défaut de outils/mutations.tsv, reconstruit, lance
la suite de tests et dit si elle l'a attrapé.

  (défaut)          travaille dans une copie de l'arbre de travail (modifications
                    non validées comprises) sous ${TMPDIR:-/tmp}, avec son propre
                    répertoire de construction
  --ici             travaille dans cet arbre et son répertoire build/ (après la
                    construction normale) ; chaque fichier est restauré après
                    son défaut, même en cas d'interruption
  --echantillon     seulement les défauts de l'échantillon (colonne echantillon = 1)
  --seulement N,... seulement les défauts nommés
  --liste           affiche les défauts choisis et s'arrête
  --verifier        vérifie seulement que le texte de chaque défaut se trouve une
                    seule fois dans l'arbre, sans rien construire
  --sans-reference  ne vérifie pas que l'arbre non modifié passe la suite
  --validee         copie le dernier commit seulement (sans les modifications en cours)
  --tests REGEX     seulement les tests dont le nom correspond (ctest -R), référence comprise
  --garder          garde la copie de travail à la fin

Écrit mutations-resultats.tsv dans le répertoire courant. Code de sortie : 0 si
chaque défaut lancé a été attrapé, 1 sinon, 2 pour une erreur d'usage ou de
mise en place. MUTATIONS_TACHES fixe le nombre de compilations parallèles,
MUTATIONS_LISTE un autre fichier de défauts.
AIDE
}
while (($#)); do
  case "$1" in
    --ici) ici=1 ;;
    --echantillon) echantillon=1 ;;
    --seulement)
      (($# >= 2)) || { echo "mutations : --seulement attend une liste de noms." >&2; exit 2; }
      seulement="$2"; shift ;;
    --seulement=*) seulement="${1#*=}" ;;
    --tests)
      (($# >= 2)) || { echo "mutations : --tests attend une expression régulière." >&2; exit 2; }
      filtre="$2"; shift ;;
    --tests=*) filtre="${1#*=}" ;;
    --liste) mode=liste ;;
    --verifier) mode=verifier ;;
    --sans-reference) reference=0 ;;
    --validee) validee=1 ;;
    --garder) garder=1 ;;
    -h|--help|--aide) usage; exit 0 ;;
    *) echo "mutations : option inconnue « $1 »." >&2; usage >&2; exit 2 ;;
  esac
  shift
done
if ((ici && validee)); then
  echo "mutations : --validee ne s'emploie pas avec --ici." >&2; exit 2
fi
command -v python3 > /dev/null || { echo "mutations : python3 est nécessaire." >&2; exit 2; }

# The list's reader, the literal search and the literal replacement.
read -r -d '' OUTIL_PY << 'PY' || true
import re, sys

def lire(chemin):
    defauts, erreurs, vus = [], [], set()
    with open(chemin, encoding="utf-8") as f:
        for n, ligne in enumerate(f, 1):
            ligne = ligne.rstrip("\n")
            if ligne.endswith("\r"):
                ligne = ligne[:-1]
            if not ligne.strip() or ligne.startswith("#"):
                continue
            champs = ligne.split("\t")
            if len(champs) != 6:
                erreurs.append(f"ligne {n} : {len(champs)} champ(s) au lieu de 6")
                continue
            nom, ss, ech, fichier, avant, apres = champs
            if not re.fullmatch(r"[a-z0-9]+(-[a-z0-9]+)*", nom):
                erreurs.append(f"ligne {n} : nom « {nom} » invalide (minuscules, chiffres et tirets)")
            if nom in vus:
                erreurs.append(f"ligne {n} : nom « {nom} » en double")
            if not ss:
                erreurs.append(f"ligne {n} : sous-système manquant")
            if ech not in ("0", "1"):
                erreurs.append(f"ligne {n} : échantillon « {ech} » (attendu 0 ou 1)")
            if not fichier or fichier.startswith("/") or ".." in fichier.split("/"):
                erreurs.append(f"ligne {n} : fichier « {fichier} » (chemin relatif au dépôt attendu)")
            if not avant:
                erreurs.append(f"ligne {n} : texte « avant » vide")
            if avant == apres:
                erreurs.append(f"ligne {n} : « après » identique à « avant »")
            vus.add(nom)
            defauts.append(dict(nom=nom, ss=ss, ech=ech, fichier=fichier, avant=avant, apres=apres))
    if erreurs:
        for e in erreurs:
            print(f"mutations : {chemin}, {e}.", file=sys.stderr)
        sys.exit(2)
    return defauts

def choisir(defauts, echantillon, seulement):
    noms = [s for s in seulement.split(",") if s] if seulement else []
    connus = {d["nom"] for d in defauts}
    inconnus = [s for s in noms if s not in connus]
    if inconnus:
        print("mutations : défaut(s) inconnu(s) : " + ", ".join(inconnus) + ".", file=sys.stderr)
        sys.exit(2)
    return [d for d in defauts
            if (echantillon != "1" or d["ech"] == "1") and (not noms or d["nom"] in noms)]

def occurrences(racine, d):
    try:
        with open(f"{racine}/{d['fichier']}", "rb") as f:
            texte = f.read()
    except OSError:
        return -1, None
    return texte.count(d["avant"].encode("utf-8")), texte

commande, chemin = sys.argv[1], sys.argv[2]
defauts = lire(chemin)
if commande == "choisir":
    for d in choisir(defauts, sys.argv[3], sys.argv[4]):
        print("\t".join([d["nom"], d["ss"], d["ech"], d["fichier"]]))
elif commande == "compter":
    racine, nom = sys.argv[3], sys.argv[4]
    d = next(d for d in defauts if d["nom"] == nom)
    print(occurrences(racine, d)[0])
elif commande == "appliquer":
    racine, nom = sys.argv[3], sys.argv[4]
    d = next(d for d in defauts if d["nom"] == nom)
    n, texte = occurrences(racine, d)
    if n != 1:
        sys.exit(3)
    with open(f"{racine}/{d['fichier']}", "wb") as f:
        f.write(texte.replace(d["avant"].encode("utf-8"), d["apres"].encode("utf-8"), 1))
PY
outil() { python3 -c "$OUTIL_PY" "$@"; }

selection="$(outil choisir "$liste" "$echantillon" "$seulement")"
if [[ -z "$selection" ]]; then
  echo "mutations : aucun défaut choisi." >&2; exit 2
fi
mapfile -t defauts <<< "$selection"

if [[ $mode == liste ]]; then
  # Headers written out: printf pads by bytes, not by accented letters.
  echo "Défaut                               Sous-système Éch.  Fichier"
  for ligne in "${defauts[@]}"; do
    IFS=$'\t' read -r nom ss ech fichier <<< "$ligne"
    printf '%-36s %-12s %-5s %s\n' "$nom" "$ss" "$ech" "$fichier"
  done
  echo
  echo "${#defauts[@]} défaut(s), par sous-système :"
  printf '%s\n' "${defauts[@]}" | cut -f2 | sort | uniq -c | sort -k1,1nr -k2 | sed 's/^/ /'
  exit 0
fi

# "" when the fault's text is found exactly once, else why not.
etat_texte() {
  local n
  n="$(outil compter "$liste" "$1" "$2")"
  case "$n" in
    1) echo "" ;;
    0) echo "introuvable" ;;
    -1) echo "fichier absent" ;;
    *) echo "ambigu" ;;
  esac
}

if [[ $mode == verifier ]]; then
  echecs=0
  for ligne in "${defauts[@]}"; do
    IFS=$'\t' read -r nom ss ech fichier <<< "$ligne"
    probleme="$(etat_texte "$racine" "$nom")"
    if [[ -n $probleme ]]; then
      echecs=$((echecs + 1))
      printf '%-36s %-12s %s (%s)\n' "$nom" "$ss" "$probleme" "$fichier"
    fi
  done
  if ((echecs)); then
    echo "$echecs défaut(s) sur ${#defauts[@]} ne s'appliquent pas à l'arbre de travail."
    exit 1
  fi
  echo "Les ${#defauts[@]} défauts s'appliquent chacun à un seul endroit de l'arbre de travail."
  exit 0
fi

# --- Running -----------------------------------------------------------------

command -v cmake > /dev/null && command -v ctest > /dev/null ||
  { echo "mutations : cmake et ctest sont nécessaires." >&2; exit 2; }
taches="${MUTATIONS_TACHES:-$(nproc 2> /dev/null || echo 2)}"
travail="$(mktemp -d "${TMPDIR:-/tmp}/pavonis-mutations.XXXXXX")"
# The private print server's filters run as lp: they must reach the build tree.
chmod 0711 "$travail"
journaux="$travail/journaux"
mkdir -p "$journaux"

enfant=""       # the build or test run in progress
cible=""        # the mutated file, while it is
sauvegarde=""   # its original content
marque=""       # --ici: names the file to restore after a hard kill

restaurer() {
  if [[ -n $enfant ]]; then
    kill -TERM -- "-$enfant" 2> /dev/null || kill -TERM "$enfant" 2> /dev/null || true
    wait "$enfant" 2> /dev/null || true
    enfant=""
  fi
  if [[ -n $cible ]]; then
    # A fresh copy, not a timestamp-preserving one: the build must see the
    # file as changed again.
    cp -- "$sauvegarde" "$cible"
    cible=""
  fi
  [[ -n $marque ]] && rm -f -- "$marque"
  return 0
}
finir() {
  local rc=$?
  restaurer
  if ((!ici)) && [[ -d $travail/arbre ]]; then
    if ((garder)); then
      echo "Copie de travail gardée : $travail/arbre"
    else
      rm -rf -- "$travail/arbre"
    fi
  fi
  return "$rc"
}
trap finir EXIT
trap 'echo; echo "mutations : interrompu." >&2; exit 130' INT
trap 'exit 143' TERM HUP

# Runs a command in its own process group, output to a log, so that an
# interruption stops all of it.
lancer() {
  local journal="$1" rc=0
  shift
  if command -v setsid > /dev/null; then
    setsid -w "$@" >> "$journal" 2>&1 < /dev/null &
  else
    "$@" >> "$journal" 2>&1 < /dev/null &
  fi
  enfant=$!
  wait "$enfant" || rc=$?
  enfant=""
  return "$rc"
}

construire() { lancer "$1" cmake --build --preset dev --parallel "$taches"; }
tester() {
  local journal="$1"
  shift
  [[ -z $filtre ]] || set -- "$@" -R "$filtre"
  lancer "$journal" ctest --preset dev --timeout 300 "$@"
}

if ((ici)); then
  arbre="$racine"
  [[ -f $arbre/build/CMakeCache.txt ]] || {
    echo "mutations : pas de répertoire build/ configuré ; lancez d'abord cmake --preset dev && cmake --build --preset dev." >&2
    exit 2
  }
  marque="$arbre/build/mutation-en-cours"
  if [[ -f $marque ]]; then
    # A run killed without its trap: put that file back first.
    IFS=$'\t' read -r ancien_fichier ancienne_sauvegarde < "$marque" || true
    if [[ -f ${ancienne_sauvegarde:-} ]]; then
      cp -- "$ancienne_sauvegarde" "$arbre/$ancien_fichier"
      rm -f -- "$marque"
      echo "Fichier d'une exécution interrompue restauré : $ancien_fichier"
    else
      echo "mutations : $marque signale $ancien_fichier comme modifié, sans copie à restaurer ; vérifiez-le (git diff) puis supprimez $marque." >&2
      marque=""
      exit 2
    fi
  fi
  marque=""
else
  arbre="$travail/arbre"
  mkdir -p "$arbre"
  if ((validee)); then
    echo "Copie du dernier commit dans $arbre"
    git -C "$racine" archive --format=tar HEAD | tar -x -C "$arbre"
  else
    echo "Copie de l'arbre de travail dans $arbre"
    if git -C "$racine" rev-parse --git-dir > /dev/null 2>&1; then
      # Tracked and untracked files as they are now, ignored ones (build
      # directories) left out.
      (cd "$racine" && git ls-files -z -c -o --exclude-standard |
        while IFS= read -r -d '' f; do [[ -e $f || -L $f ]] && printf '%s\0' "$f"; done |
        tar --null -T - -cf -) | tar -x -C "$arbre"
    else
      (cd "$racine" && tar --exclude=./.git --exclude='./build*' -cf - .) | tar -x -C "$arbre"
    fi
  fi
  # The JavaScript packages npm installed (simdjson's source, the browser
  # tests' tools, the JSON validators) are not in git: the copy uses ours.
  for d in web . tests/json; do
    [[ ! -d $racine/$d/node_modules ]] || ln -sfn "$racine/$d/node_modules" "$arbre/$d/node_modules"
  done
  cd "$arbre"
  echo "Configuration (cmake --preset dev)"
  lancer "$journaux/configuration.log" cmake --preset dev || {
    echo "mutations : la configuration de la copie échoue ; voir $journaux/configuration.log" >&2
    tail -n 20 "$journaux/configuration.log" >&2
    exit 2
  }
fi
cd "$arbre"

echo "Construction de référence"
construire "$journaux/reference-construction.log" || {
  echo "mutations : l'arbre non modifié ne compile pas ; voir $journaux/reference-construction.log" >&2
  grep -m 20 -E 'error|erreur' "$journaux/reference-construction.log" >&2 || true
  exit 2
}
if ((reference)); then
  echo "Suite de tests de référence"
  tester "$journaux/reference-tests.log" || {
    echo "mutations : l'arbre non modifié ne passe pas la suite de tests ; un défaut n'y serait pas jugé." >&2
    echo "Tests en échec (journal : $journaux/reference-tests.log) :" >&2
    sed -n '/The following tests FAILED/,$p' "$journaux/reference-tests.log" | sed -n '2,40p' >&2
    echo "(--sans-reference passe outre.)" >&2
    exit 2
  }
else
  echo "Suite de tests de référence : non lancée (--sans-reference)"
fi

declare -a resultats=()
attrapees=0 manquees=0 ratees=0
total=${#defauts[@]}
i=0
for ligne in "${defauts[@]}"; do
  IFS=$'\t' read -r nom ss ech fichier <<< "$ligne"
  i=$((i + 1))
  printf '[%d/%d] %-36s ' "$i" "$total" "$nom"
  debut=$SECONDS
  resultat="$(etat_texte "$arbre" "$nom")"
  if [[ -z $resultat ]]; then
    sauvegarde="$travail/sauvegarde"
    cp -p -- "$arbre/$fichier" "$sauvegarde"
    cible="$arbre/$fichier"
    if ((ici)); then
      marque="$arbre/build/mutation-en-cours"
      printf '%s\t%s\n' "$fichier" "$sauvegarde" > "$marque"
    fi
    outil appliquer "$liste" "$arbre" "$nom"
    journal="$journaux/$nom.log"
    : > "$journal"
    if ! construire "$journal"; then
      resultat="ne compile pas"
    elif tester "$journal" --stop-on-failure -j2; then
      resultat="manquée"
    else
      resultat="attrapée"
    fi
    restaurer
  fi
  duree=$((SECONDS - debut))
  case "$resultat" in
    attrapée) attrapees=$((attrapees + 1)) ;;
    manquée) manquees=$((manquees + 1)) ;;
    *) ratees=$((ratees + 1)) ;;
  esac
  echo "$resultat (${duree} s)"
  resultats+=("$nom"$'\t'"$ss"$'\t'"$resultat"$'\t'"$duree")
done

if ((ici)); then
  # Leave the build directory matching the restored tree.
  echo "Reconstruction de l'arbre restauré"
  construire "$journaux/reconstruction.log" || echo "mutations : la reconstruction finale échoue ; voir $journaux/reconstruction.log" >&2
fi

sortie="$depart/mutations-resultats.tsv"
{
  printf 'nom\tsous_systeme\tresultat\tduree_s\n'
  printf '%s\n' "${resultats[@]}"
} > "$sortie"

echo
echo "Défaut                               Sous-système Résultat"
echo "------                               ------------ --------"
for r in "${resultats[@]}"; do
  IFS=$'\t' read -r nom ss resultat duree <<< "$r"
  printf '%-36s %-12s %s\n' "$nom" "$ss" "$resultat"
done
echo
echo "$total défaut(s) : $attrapees attrapé(s), $manquees manqué(s), $ratees inapplicable(s) ou ne compilant pas."
echo "Tableau : $sortie ; journaux : $journaux"
((attrapees == total))
