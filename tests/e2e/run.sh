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
source "$(dirname "$0")/common.sh"

program=${1:?usage: run.sh PROGRAM [DESKTOP_ENTRY]}
[[ $program == */* ]] && program=$(realpath "$program") # it is started from other folders
entry=${2:-}
hung_pid='' smbd_pid='' smbnetfs_pid=''
cleanup() {
    # The stopped station answers again, so that every call on it returns and it can go.
    [[ -n $hung_pid ]] && kill -CONT "$hung_pid" 2>/dev/null || true
    for pid in $smbnetfs_pid $smbd_pid; do kill "$pid" && wait "$pid"; done 2>/dev/null || true
    finish
}
begin varnok-e2e gio smbd smbpasswd smbnetfs cc

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

make_lab
backup=$lab/smb/127.0.0.1:4455/lab/backup
printf '%s\r\n' '*.txt;*.c' 'Lab E2E' "$lab/recolha" "$backup" "$lab/pc01" "$lab/pc02" "$lab/pc03-desligado" \
    "$lab/pc04/exame" "$lab/smb/127.0.0.1:4455/lab/pc05" "$lab/pc06" >"$lab/pcs.txt"

# pc04: a station that stops answering later on.
mkdir -p "$work/pc04/exame" && printf 'resposta do aluno 4\n' >"$work/pc04/exame/pc04.txt"
mount_fuse "$work/pc04" "$lab/pc04" 0
hung_pid=$fuse_pid

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

mount_fuse "$work/slow" "$lab/pc06" 400 # slow, never dead

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
kill -STOP "$hung_pid"
click_at_twips 6727 7447 # "Refresh"
sleep 4

press_recolha
answer_box "what was not collected (pc03 switched off, pc04 not answering)"
wait_for 60 test -s "$work/files.opened" || fail "the collection folder was not opened"
wait_for 60 sh -c "[ \$(wc -l <'$work/editor.opened') -eq 5 ]" || fail "the editor did not open five copies"
import -window "$window" "$artefacts/$e2e_name.png" || true

check_collection "$collection" 'exame.c|lento.txt|resposta (2).txt|resposta.txt|trabalho.txt|'
grep -q "^$lab/pc03-desligado nada recolhido: " "$collection/log.txt" || fail "log.txt does not name pc03"
# Once: the files its last refresh listed are not tried.
[[ $(grep -a "$lab/pc04/" "$collection/log.txt") == "$lab/pc04/exame nada recolhido: o PC n"$'\xe3'"o responde"$'\r' ]] ||
    fail "log.txt does not name pc04, once, as not answering: $(grep -a pc04 "$collection/log.txt")"

# Six: pc05's hidden file too.
empty_stations "$smb/share/backup" "$collection" 6 "$lab/pc01" "$lab/pc02" "$smb/share/pc05" "$work/slow"
[[ $(grep -c '/\.varnok-' "$work/busy.log") -ge 6 ]] || fail "the busy refusals were not met: $(cat "$work/busy.log")"

[[ -f $work/pc04/exame/pc04.txt ]] || fail "the station that does not answer was emptied"

check_pings 100

# Closed with a call still held by pc04.
close_window
