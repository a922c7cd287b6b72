#!/usr/bin/env bash
# outils/cups-prive.sh demarrer|arreter DOSSIER: the printing tests' own CUPS server, all in DOSSIER (pdf/ for
# the PDF queue; run/cups.sock only root enters: the server accepts all on it); no port, the machine's untouched.
# Queues: Atelier_Matricielle, Stock_mAtRiCe (dot-matrix), Bureau_Fichier (raw), Pavonis_PDF (cups-pdf, default).
set -euo pipefail
export LC_ALL=C PATH=$PATH:/usr/sbin # lpstat's answers are read in English
erreur() { echo "cups-prive : $*" >&2; exit 1; }
[ $# -eq 2 ] && [[ $1 == demarrer || $1 == arreter ]] || { echo "usage : $0 demarrer|arreter DOSSIER" >&2; exit 2; }
mkdir -p "$2"
d=$(cd "$2" && pwd)
export CUPS_SERVER=$d/run/cups.sock
[ ${#CUPS_SERVER} -le 100 ] || erreur "chemin de socket trop long (100 octets au plus) : $CUPS_SERVER"

arreter() {
  local pid
  pid=$(cat "$d/cupsd.pid" 2>/dev/null) || true
  # Only our own cupsd, which finishes its current job: 10 s, then forced.
  if [ -n "$pid" ] && grep -qsF -- "$d/etc/cupsd.conf" "/proc/$pid/cmdline"; then
    kill "$pid" && timeout 10 tail -s 0.1 --pid="$pid" -f /dev/null || kill -9 "$pid" 2>/dev/null || true
  fi
  [ ! -f "$d/conf-cups-pdf" ] || rm -f "$(cat "$d/conf-cups-pdf")" "$d/conf-cups-pdf"
  rm -f "$d/cupsd.pid" "$CUPS_SERVER"
}

demarrer() {
  [ "$(id -u)" -eq 0 ] || erreur "le serveur CUPS privé se lance en root (cups-pdf l'exige)"
  type -P cupsd lpadmin lpstat >/dev/null && [ -x /usr/lib/cups/backend/cups-pdf ] ||
    erreur "cupsd, lpadmin, lpstat ou cups-pdf introuvable (paquets cups, cups-client, printer-driver-cups-pdf)"
  arreter
  rm -rf "${d:?}"/{etc,spool,cache,state,log,pdf,cups-pdf-spool}
  mkdir -p "$d"/{etc/ppd,spool/tmp,cache,state,log,pdf,cups-pdf-spool,run}
  # Filters run as lp: they reach the spool and the PPD files.
  chmod 0700 "$d/run" && chmod 0711 "$d" && chmod 0755 "$d/etc" "$d/etc/ppd"
  printf '%s\n' "ServerRoot $d/etc" "RequestRoot $d/spool" "TempDir $d/spool/tmp" "CacheDir $d/cache" \
    "StateDir $d/state" "AccessLog $d/log/access_log" "ErrorLog $d/log/error_log" "PageLog $d/log/page_log" \
    "Printcap $d/etc/printcap" "FileDevice Yes" "SystemGroup root" >"$d/etc/cups-files.conf"
  printf '%s\n' "LogLevel warn" "Listen $CUPS_SERVER" "Browsing No" "BrowseLocalProtocols none" "WebInterface No" \
    "DefaultShared No" "JobRetryLimit 0" "ErrorPolicy abort-job" "<Location />" "Order allow,deny" "Allow all" \
    "</Location>" "<Policy default>" "JobPrivateAccess all" "JobPrivateValues none" "<Limit All>" \
    "Order deny,allow" "</Limit>" "</Policy>" >"$d/etc/cupsd.conf"
  # cups-pdf names its files after the job's title.
  printf '%s\n' "Out $d/pdf" "AnonDirName $d/pdf" "Spool $d/cups-pdf-spool" "Log $d/log" "Label 2" "Grp root" \
    "TitlePref 1" >"$d/cups-pdf.conf"

  # Where AppArmor confines /usr/sbin/cupsd to the machine's paths, a copy runs: the profile is attached by path.
  cupsd=$(command -v cupsd)
  ! grep -qs '/usr/sbin/cupsd (enforce)' /sys/kernel/security/apparmor/profiles || { cp "$cupsd" "$d" && cupsd=$d/cupsd; }
  lancer=("$cupsd" -f -c "$d/etc/cupsd.conf" -s "$d/etc/cups-files.conf")
  # cups-pdf reads /etc/cups/cups-pdf.conf: a mount namespace where that file is ours, or else one of the queue's.
  uri_pdf=cups-pdf:/
  if unshare --mount --propagation private true 2>/dev/null; then
    lancer=(unshare --mount --propagation private sh -c \
      'mount --bind "$0" /etc/cups/cups-pdf.conf && exec "$@"' "$d/cups-pdf.conf" "${lancer[@]}")
  else
    etiquette=pavonis-$(printf '%s' "$d" | md5sum | cut -c1-12)
    cp "$d/cups-pdf.conf" "/etc/cups/cups-pdf-$etiquette.conf"
    echo "/etc/cups/cups-pdf-$etiquette.conf" >"$d/conf-cups-pdf"
    uri_pdf=cups-pdf:/$etiquette
  fi
  setsid "${lancer[@]}" </dev/null >>"$d/log/cupsd.out" 2>&1 &
  echo $! >"$d/cupsd.pid"
  for _ in $(seq 100); do
    [ -S "$CUPS_SERVER" ] && lpstat -r 2>/dev/null | grep -q 'is running' && break
    sleep 0.1; kill -0 $! 2>/dev/null || erreur "le serveur s'est arrêté : $(cat "$d"/log/{cupsd.out,error_log} 2>/dev/null)"
  done
  lpstat -r 2>/dev/null | grep -q 'is running' || { arreter; erreur "le serveur ne répond pas sur $CUPS_SERVER"; }
  # CUPS 2.4's notices that raw queues and PPD files are deprecated are noise.
  for file in Atelier_Matricielle Bureau_Fichier Stock_mAtRiCe; do lpadmin -p $file -E -v file:///dev/null -m raw; done 2>/dev/null
  lpadmin -p Pavonis_PDF -E -v "$uri_pdf" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -o PageSize=A4 2>/dev/null
  lpadmin -d Pavonis_PDF
  echo "cups-prive : serveur CUPS privé prêt, CUPS_SERVER=$CUPS_SERVER" && lpstat -v
}

if [ "$1" = demarrer ]; then demarrer; else arreter && echo "cups-prive : serveur CUPS privé arrêté ($d)"; fi
