#!/usr/bin/env bash
# Private CUPS server for the printing tests.
#
#   outils/cups-prive.sh demarrer DOSSIER   start it (stops a leftover one first)
#   outils/cups-prive.sh arreter  DOSSIER   stop it and remove its queues
#
# Everything lives in DOSSIER: configuration, spool, logs, the local socket
# DOSSIER/run/cups.sock (clients reach it with CUPS_SERVER=DOSSIER/run/cups.sock) and
# the files written by the PDF queue (DOSSIER/pdf). It listens on no network
# port and never touches the machine's own CUPS server or its queues.
# The server accepts every request on its socket, so the socket sits in a
# directory that only root can enter.
#
# Queues, in the order CUPS lists them:
#   Atelier_Matricielle  file:///dev/null   (a dot-matrix printer, never offered)
#   Bureau_Fichier       file:///dev/null   (raw)
#   Pavonis_PDF          cups-pdf:/         (writes DOSSIER/pdf/*.pdf; server default)
#   Stock_mAtRiCe        file:///dev/null   (a dot-matrix printer, mixed case)
#
# cups-pdf names its files after the job's title (TitlePref 1): the title of
# the PostScript it receives has its accents escaped.
# cups-pdf reads its settings from a path fixed at build time
# (/etc/cups/cups-pdf.conf). The server therefore runs in its own mount
# namespace where that file is our own; where namespaces are not allowed, a
# per-queue file /etc/cups/cups-pdf-<tag>.conf is written instead and
# removed again by "arreter".
set -euo pipefail
# lpstat's answers are read below: keep them in English.
export LC_ALL=C

usage() {
  echo "usage : $0 demarrer|arreter DOSSIER" >&2
  exit 2
}

[ $# -eq 2 ] || usage
action=$1
dossier=$2
mkdir -p "$dossier"
dossier=$(cd "$dossier" && pwd)
socket=$dossier/run/cups.sock
pidfile=$dossier/cupsd.pid
export CUPS_SERVER=$socket

# A local socket path is limited to 107 bytes.
if [ ${#socket} -gt 100 ]; then
  echo "cups-prive : chemin de socket trop long (${#socket} caractères) : $socket" >&2
  exit 1
fi

cupsd_actif() {
  [ -f "$pidfile" ] || return 1
  local pid
  pid=$(cat "$pidfile")
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null &&
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q -- "$dossier/etc/cupsd.conf"
}

arreter() {
  if cupsd_actif; then
    local pid
    pid=$(cat "$pidfile")
    kill "$pid"
    # cupsd finishes its current job and exits; give it 10 s, then force.
    for _ in $(seq 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && kill -9 "$pid"
  fi
  rm -f "$pidfile" "$socket"
  if [ -f "$dossier/conf-cups-pdf" ]; then
    rm -f "$(cat "$dossier/conf-cups-pdf")"
    rm -f "$dossier/conf-cups-pdf"
  fi
}

demarrer() {
  # cups-pdf runs only as root, and so do the mount namespace and the
  # fallback file in /etc/cups.
  if [ "$(id -u)" -ne 0 ]; then
    echo "cups-prive : le serveur CUPS privé se lance en root (cups-pdf l'exige)" >&2
    exit 1
  fi
  for outil in cupsd lpadmin lpstat; do
    command -v "$outil" >/dev/null || [ -x "/usr/sbin/$outil" ] || {
      echo "cups-prive : $outil est introuvable (paquets cups, cups-client)" >&2
      exit 1
    }
  done
  [ -x /usr/lib/cups/backend/cups-pdf ] || {
    echo "cups-prive : /usr/lib/cups/backend/cups-pdf est introuvable (paquet printer-driver-cups-pdf)" >&2
    exit 1
  }
  export PATH=$PATH:/usr/sbin

  arreter
  rm -rf "$dossier/etc" "$dossier/spool" "$dossier/cache" "$dossier/state" \
         "$dossier/log" "$dossier/pdf" "$dossier/cups-pdf-spool"
  mkdir -p "$dossier/etc/ppd" "$dossier/spool/tmp" "$dossier/cache" "$dossier/state" \
           "$dossier/log" "$dossier/pdf" "$dossier/cups-pdf-spool"
  mkdir -p "$dossier/run"
  chmod 0700 "$dossier/run"
  # Filters run as lp: they must reach the spool and the PPD files.
  chmod 0711 "$dossier"
  chmod 0755 "$dossier/etc" "$dossier/etc/ppd"

  cat >"$dossier/etc/cups-files.conf" <<EOF
ServerRoot $dossier/etc
RequestRoot $dossier/spool
TempDir $dossier/spool/tmp
CacheDir $dossier/cache
StateDir $dossier/state
AccessLog $dossier/log/access_log
ErrorLog $dossier/log/error_log
PageLog $dossier/log/page_log
Printcap $dossier/etc/printcap
FileDevice Yes
SystemGroup root
EOF

  cat >"$dossier/etc/cupsd.conf" <<EOF
LogLevel warn
Listen $socket
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultShared No
JobRetryLimit 0
ErrorPolicy abort-job
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF

  cat >"$dossier/cups-pdf.conf" <<EOF
Out $dossier/pdf
AnonDirName $dossier/pdf
Spool $dossier/cups-pdf-spool
Log $dossier/log
Label 2
Grp root
TitlePref 1
EOF

  # Where AppArmor confines /usr/sbin/cupsd to the machine's paths, run a
  # copy of the binary: the profile is attached by path.
  cupsd_bin=$(command -v cupsd || echo /usr/sbin/cupsd)
  if [ -r /sys/kernel/security/apparmor/profiles ] &&
     grep -q '/usr/sbin/cupsd (enforce)' /sys/kernel/security/apparmor/profiles; then
    cp "$cupsd_bin" "$dossier/cupsd"
    cupsd_bin=$dossier/cupsd
  fi

  lancer=(setsid "$cupsd_bin" -f -c "$dossier/etc/cupsd.conf" -s "$dossier/etc/cups-files.conf")
  uri_pdf="cups-pdf:/"
  if unshare --mount --propagation private true 2>/dev/null; then
    lancer=(setsid unshare --mount --propagation private sh -c \
      'mount --bind "$0" /etc/cups/cups-pdf.conf && exec "$@"' "$dossier/cups-pdf.conf"
      "$cupsd_bin" -f -c "$dossier/etc/cupsd.conf" -s "$dossier/etc/cups-files.conf")
  else
    etiquette=pavonis-$(printf '%s' "$dossier" | md5sum | cut -c1-12)
    cp "$dossier/cups-pdf.conf" "/etc/cups/cups-pdf-$etiquette.conf"
    echo "/etc/cups/cups-pdf-$etiquette.conf" >"$dossier/conf-cups-pdf"
    uri_pdf="cups-pdf:/$etiquette"
  fi

  "${lancer[@]}" </dev/null >>"$dossier/log/cupsd.out" 2>&1 &
  echo $! >"$pidfile"

  for _ in $(seq 100); do
    if [ -S "$socket" ] && lpstat -r 2>/dev/null | grep -q 'is running'; then
      break
    fi
    if ! kill -0 "$(cat "$pidfile")" 2>/dev/null; then
      echo "cups-prive : le serveur CUPS privé s'est arrêté au démarrage :" >&2
      cat "$dossier/log/cupsd.out" "$dossier/log/error_log" 2>/dev/null >&2 || true
      exit 1
    fi
    sleep 0.1
  done
  lpstat -r 2>/dev/null | grep -q 'is running' || {
    echo "cups-prive : le serveur CUPS privé ne répond pas sur $socket" >&2
    arreter
    exit 1
  }

  # Deprecation notices of CUPS 2.4 about raw queues and PPD files are noise.
  lpadmin -p Atelier_Matricielle -E -v file:///dev/null -m raw 2>/dev/null
  lpadmin -p Bureau_Fichier -E -v file:///dev/null -m raw 2>/dev/null
  lpadmin -p Pavonis_PDF -E -v "$uri_pdf" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
    -o PageSize=A4 2>/dev/null
  lpadmin -p Stock_mAtRiCe -E -v file:///dev/null -m raw 2>/dev/null
  lpadmin -d Pavonis_PDF
  echo "cups-prive : serveur CUPS privé prêt, CUPS_SERVER=$socket"
  lpstat -v
}

case $action in
  demarrer) demarrer ;;
  arreter) arreter; echo "cups-prive : serveur CUPS privé arrêté ($dossier)" ;;
  *) usage ;;
esac
