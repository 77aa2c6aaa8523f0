#!/bin/bash
# End-to-end test of the real window: Varnok is started on a virtual X display in a lab
# this script makes, driven from outside as a teacher would (mouse on the controls'
# places, keyboard), and judged by what it leaves on disk and what it asked the desktop
# to open.
#
#   run.sh PROGRAM [DESKTOP_ENTRY]
#
# With DESKTOP_ENTRY (the installed varnok.desktop), the program is started through a
# copy of that entry whose Path= is the lab, so an entry that names the wrong program
# fails. A screenshot of the window is kept as $E2E_ARTEFACTS/varnok-e2e.png (default:
# the working folder).
set -euo pipefail

program=${1:?usage: run.sh PROGRAM [DESKTOP_ENTRY]}
[[ $program == */* ]] && program=$(realpath "$program") # it is started from other folders
entry=${2:-}
artefacts=$(mkdir -p "${E2E_ARTEFACTS:-$PWD}" && cd "${E2E_ARTEFACTS:-$PWD}" && pwd)

for tool in Xvfb xdotool xwininfo iconv import gio sha256sum sshfs fusermount /usr/lib/openssh/sftp-server smbd smbpasswd smbnetfs cc; do
    command -v "$tool" >/dev/null || { echo "E2E: $tool is missing (README: the end-to-end test's packages)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import fusepy, Xlib' 2>/dev/null || { echo "E2E: python3-fusepy or python3-xlib is missing" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/varnok-e2e.XXXXXX)
xvfb_pid='' sftp_pid='' smbd_pid='' smbnetfs_pid=''
cleanup() {
    # The stopped share answers again, so that every call on it returns and it can go.
    [[ -n $sftp_pid ]] && kill -CONT "$sftp_pid" 2>/dev/null || true
    fusermount -uz "$work/lab/pc04" 2>/dev/null || true
    fusermount -uz "$work/lab/pc06" 2>/dev/null || true
    if [[ -n $smbnetfs_pid ]]; then
        fusermount -uz "$work/lab/smb" 2>/dev/null || true
        kill "$smbnetfs_pid" 2>/dev/null && wait "$smbnetfs_pid" 2>/dev/null || true
    fi
    [[ -n $smbd_pid ]] && kill "$smbd_pid" 2>/dev/null && wait "$smbd_pid" 2>/dev/null || true
    pkill -f -- "$work" 2>/dev/null || true
    # Waited for: a display ending late would remove the socket of the next run's.
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work" || echo "E2E: $work is left behind" >&2
}
trap cleanup EXIT
source "$here/common.sh"

# --- The desktop: a display, and stand-ins for the editor and the file manager ----------

start_display
unset QT_QPA_PLATFORM # the tests' offscreen platform shows no window

mkdir -p "$work/home" "$work/config" "$work/data/applications" "$work/data-dirs" "$work/runtime"
chmod 700 "$work/runtime"
for role in editor files; do
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s"\n' "$work/$role.opened" >"$work/$role.sh" && chmod +x "$work/$role.sh"
    printf '[Desktop Entry]\nType=Application\nName=E2E %s\nExec=%s %%f\n' "$role" "$work/$role.sh" \
        >"$work/data/applications/e2e-$role.desktop"
done
printf '[Default Applications]\ntext/plain=e2e-editor.desktop\ninode/directory=e2e-files.desktop\n' \
    >"$work/config/mimeapps.list"
# The first removal of each hidden file is refused as busy, as an SMB server does now and then.
cc -shared -fPIC -O2 -o "$work/busy-unlink.so" "$here/busy-unlink.c" -ldl || fail "the busy shim did not build"
desktop_env=(env HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
    XDG_DATA_DIRS="$work/data-dirs" XDG_RUNTIME_DIR="$work/runtime" TZ=Europe/Lisbon LANG=C.UTF-8
    LD_PRELOAD="$work/busy-unlink.so" VARNOK_E2E_BUSY_LOG="$work/busy.log")

# --- The lab -----------------------------------------------------------------------------

lab=$work/lab
collection="$lab/recolha/Lab E2E/Sessao1"
backup=$lab/smb/127.0.0.1:4455/lab/backup
mkdir -p "$collection" "$lab/pc01" "$lab/pc02"
printf 'int main(void) { return 0; }\n' >"$lab/pc01/exame.c"
printf 'resposta do aluno 1\r\n' >"$lab/pc01/resposta.txt"
printf 'resposta do aluno 2\n' >"$lab/pc02/resposta.txt" # the same name as pc01's
touch -d '-30 minutes' "$lab/pc02/resposta.txt"       # not saved lately: the run asks
printf '%s\r\n' '*.txt;*.c' 'Lab E2E' "$lab/recolha" "$backup" "$lab/pc01" "$lab/pc02" "$lab/pc03-desligado" \
    "$lab/pc04/exame" "$lab/smb/127.0.0.1:4455/lab/pc05" "$lab/pc06" >"$lab/pcs.txt"

# pc04: a share mounted with sshfs from an sftp server of the test's own, which is stopped
# later on: a station that stops answering, every call on it held in the kernel.
share=$work/share
mkdir -p "$share/exame" "$lab/pc04"
printf 'resposta do aluno 4\n' >"$share/exame/pc04.txt"
coproc SFTP { exec /usr/lib/openssh/sftp-server -d "$share"; }
sftp_pid=$SFTP_PID
exec 5<&"${SFTP[0]}" 6>&"${SFTP[1]}"
sshfs -f -o passive,dir_cache=no,attr_timeout=0,entry_timeout=0,negative_timeout=0 ":$share" "$lab/pc04" \
    <&5 >&6 2>"$work/sshfs.log" &
exec 5<&- 6>&-
wait_for 20 test -d "$lab/pc04/exame" || fail "the sshfs share did not mount: $(cat "$work/sshfs.log")"

# pc05 and the backup folder: on a share of a Samba server of the test's own, on a port of its
# own on loopback, mounted with smbnetfs (FUSE over libsmbclient), as a lab reaches its Windows PCs.
smb=$work/smb
mkdir -p "$smb"/{state,lock,cache,private,run,home/.smb} "$smb/share/pc05" "$smb/share/backup" "$lab/smb"
cat >"$smb/smb.conf" <<CONF
[global]
  interfaces = lo
  bind interfaces only = yes
  smb ports = 4455
  state directory = $smb/state
  lock directory = $smb/lock
  cache directory = $smb/cache
  private dir = $smb/private
  pid directory = $smb/run
  ncalrpc dir = $smb/run/ncalrpc
  passdb backend = tdbsam:$smb/private/passdb.tdb
[lab]
  path = $smb/share
  read only = no
  force user = root
CONF
# The system's "nobody", with a password in this server's own database only.
printf 'segredo\nsegredo\n' | smbpasswd -c "$smb/smb.conf" -s -a nobody >/dev/null || fail "smbpasswd failed"
# Another server on the port would take some of the connections, and refuse this test's user.
! bash -c 'exec 3<>/dev/tcp/127.0.0.1/4455' 2>/dev/null || fail "port 4455 is taken"
smbd -F --debug-stdout -s "$smb/smb.conf" </dev/null >"$smb/smbd.log" 2>&1 &
smbd_pid=$!
wait_for 20 bash -c 'exec 3<>/dev/tcp/127.0.0.1/4455' || fail "smbd did not start: $(cat "$smb/smbd.log")"
printf 'auth "nobody" "segredo"\n' >"$smb/home/.smb/smbnetfs.conf" && chmod 600 "$smb/home/.smb/smbnetfs.conf"
HOME=$smb/home smbnetfs "$lab/smb" -f -o config="$smb/home/.smb/smbnetfs.conf",smb_query_browsers=false \
    >"$smb/smbnetfs.log" 2>&1 &
smbnetfs_pid=$!
printf 'resposta do aluno 5\r\n' >"$smb/share/pc05/trabalho.txt"
printf 'notas\n' >"$smb/share/pc05/.notas-ocultas"
wait_for 30 test -f "$lab/smb/127.0.0.1:4455/lab/pc05/trabalho.txt" || fail "the SMB share did not mount: $(cat "$smb/smbnetfs.log")"

# pc06: a station on a slow network, every call on it answered after 400 ms (a FUSE file system
# of the test's own): slow, never dead.
mkdir -p "$work/slow" "$lab/pc06"
printf 'resposta do aluno 6\n' >"$work/slow/lento.txt"
/usr/bin/python3 "$here/../../scripts/slowfs.py" "$work/slow" "$lab/pc06" 400 >"$work/slowfs.log" 2>&1 &
wait_for 20 test -f "$lab/pc06/lento.txt" || fail "the slow station did not mount: $(cat "$work/slowfs.log")"

# --- Driving the window ------------------------------------------------------------------

step "start-up"
if [[ -n $entry ]]; then
    grep -v '^Path=' "$entry" | sed "/^\[Desktop Entry\]/a Path=$lab" >"$work/varnok-lab.desktop"
    (cd "$work" && "${desktop_env[@]}" gio launch "$work/varnok-lab.desktop") >"$work/gio.log" 2>&1 ||
        fail "gio launch failed: $(cat "$work/gio.log")"
else
    (cd "$lab" && exec "${desktop_env[@]}" "$program") >"$work/varnok.log" 2>&1 &
fi
await_window

step "a station stops answering"
kill -STOP "$sftp_pid"
click_at_twips 6727 7447 # "Refresh"
sleep 4

step "Recolha, with the save question answered"
press_recolha
answer_box "what was not collected (pc03 switched off, pc04 not answering)"
wait_for 60 test -s "$work/files.opened" || fail "the collection folder was not opened"
wait_for 60 sh -c "[ \$(wc -l <'$work/editor.opened') -eq 5 ]" || fail "the editor did not open five copies"
import -window "$window" "$artefacts/varnok-e2e.png" || true

step "checking the collection"
check_collection "$collection" 'exame.c|lento.txt|resposta (2).txt|resposta.txt|trabalho.txt|'
grep -q "^$lab/pc03-desligado nada recolhido: " "$collection/log.txt" || fail "log.txt does not name pc03"
# Once: the files its last refresh listed are not tried.
[[ $(grep -a "$lab/pc04/" "$collection/log.txt") == "$lab/pc04/exame nada recolhido: o PC n"$'\xe3'"o responde"$'\r' ]] ||
    fail "log.txt does not name pc04, once, as not answering: $(grep -a pc04 "$collection/log.txt")"

step "Apaga Originais, confirmed with Yes (Return would say No)"
# Six: pc05's hidden file too.
empty_stations "$smb/share/backup" "$collection" 6 "$lab/pc01" "$lab/pc02" "$smb/share/pc05" "$work/slow"
[[ $(grep -c '/\.varnok-' "$work/busy.log") -ge 6 ]] || fail "the busy refusals were not met: $(cat "$work/busy.log")"

[[ -f $share/exame/pc04.txt ]] || fail "the station that does not answer was emptied"

check_pings 100

step "closing, with a call still held by pc04"
close_window
