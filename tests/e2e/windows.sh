#!/bin/bash
# End-to-end test of the installed Windows program under Wine: varnok.exe is started from its
# Start-menu shortcut (so in the lab folder the installer set up) on a virtual X display, in a
# lab of Z:\ folders and \\server\share stations this script makes, driven as a teacher would
# (mouse on the controls' places, keyboard), and judged by what it leaves on disk.
#
#   windows.sh SHORTCUT LAB_FOLDER
#
# SHORTCUT is the Linux path of the installed Varnok.lnk, LAB_FOLDER that of the folder it starts
# in (its pcs.txt is replaced); WINEPREFIX is the Wine prefix the program is installed in.
# Windows's editor and file manager are Wine's own. A screenshot of the window is kept as $E2E_ARTEFACTS/varnok-windows-e2e.png (default: the working folder).
set -euo pipefail

shortcut=${1:?usage: windows.sh SHORTCUT LAB_FOLDER}
lab_folder=${2:?usage: windows.sh SHORTCUT LAB_FOLDER}
: "${WINEPREFIX:?the Wine prefix Varnok is installed in}"
export WINEPREFIX WINEDEBUG=-all
artefacts=$(mkdir -p "${E2E_ARTEFACTS:-$PWD}" && cd "${E2E_ARTEFACTS:-$PWD}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in wine wineserver winepath Xvfb openbox xprop xwininfo xdotool import sha256sum iconv fusermount; do
    command -v "$tool" >/dev/null || { echo "E2E: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d /tmp/varnok-wine-e2e.XXXXXX)
unc=$WINEPREFIX/dosdevices/unc
xvfb_pid='' wm_pid=''
cleanup() {
    wineserver -k 2>/dev/null || true
    fusermount -u "$work/lab/pc04" 2>/dev/null || true
    [[ -n $wm_pid ]] && kill "$wm_pid" 2>/dev/null || true
    rm -f "$unc/pc05/exame" && rmdir "$unc/pc05" 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
    [[ -n ${E2E_KEEP:-} ]] && echo "kept: $work" || rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "E2E FAIL: $*" >&2
    if [[ -n ${DISPLAY:-} ]]; then import -window root "$artefacts/varnok-windows-e2e-failure.png" 2>/dev/null || true; fi
    exit 1
}
step() { echo "== $*"; }
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}
shown() { xdotool search --onlyvisible --name "^$1\$"; }
hidden() { ! shown "$1"; }
focus() { xdotool windowactivate --sync "$1" 2>/dev/null || true; }
windows_of() { xdotool search --onlyvisible --class "^$1\$" 2>/dev/null | wc -l; }
at_least() { (($(windows_of "$1") >= $2)); }

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for 20 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")"
# A desktop has a window manager, as Windows always has: without one, Wine waits two seconds
# for the acknowledgement of every window it hides (each message box), and the window with it.
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
wait_for 20 xprop -root _NET_SUPPORTING_WM_CHECK || fail "the window manager did not start"
# Wine's session keeps the display of the program that began it.
wineserver -k 2>/dev/null || true

# --- The lab -----------------------------------------------------------------------------

lab=$work/lab
collection="$lab/recolha/Lab E2E/Sessao1"
win() { winepath -w "$1" 2>/dev/null; }
mkdir -p "$collection" "$lab/backup" "$lab/pc01" "$lab/pc02" "$lab/pc05" "$work/slow" "$lab/pc04"
printf 'int main(void) { return 0; }\r\n' >"$lab/pc01/exame.c"
printf 'resposta do aluno 1\r\n' >"$lab/pc01/resposta.txt"
printf 'relat\xc3\xb3rio\r\n' >"$lab/pc01/relatório.txt"
printf 'resposta do aluno 2\r\n' >"$lab/pc02/resposta.txt" # the same name as pc01's
touch -d '-30 minutes' "$lab/pc02/resposta.txt"           # not saved lately: the run asks
# pc04: every call on it answered after 100 ms (a FUSE file system of the project's own).
printf 'resposta do aluno 4\r\n' >"$work/slow/lento.txt"
/usr/bin/python3 "$here/../../scripts/slowfs.py" "$work/slow" "$lab/pc04" 100 >"$work/slowfs.log" 2>&1 &
wait_for 20 test -f "$lab/pc04/lento.txt" || fail "the slow station did not mount: $(cat "$work/slowfs.log")"
# pc05 and pc06 by their shares' names, as a lab writes them: Wine reaches \\pc05\exame through
# its folder of shares; \\pc06 is a PC switched off.
mkdir -p "$unc/pc05" && ln -sfn "$lab/pc05" "$unc/pc05/exame"
printf 'resposta do aluno 5\r\n' >"$lab/pc05/trabalho.txt"

printf '%s\r\n' '*.txt;*.c' 'Lab E2E' "$(win "$lab/recolha")" "$(win "$lab/backup")" "$(win "$lab/pc01")" \
    "$(win "$lab/pc02")" "$(win "$lab/pc03-desligado")" "$(win "$lab/pc04")" '\\pc05\exame' '\\pc06\exame' \
    >"$lab_folder/pcs.txt"

# --- Driving the window ------------------------------------------------------------------

click_at_twips() {
    # From the window's client area, wherever the window manager's frame puts it.
    local x y
    x=$(xwininfo -id "$window" | sed -n 's/^ *Absolute upper-left X: *//p')
    y=$(xwininfo -id "$window" | sed -n 's/^ *Absolute upper-left Y: *//p')
    xdotool mousemove --sync $((x + $1 / 15)) $((y + $2 / 15)) click 1
}
answer_box() {
    wait_for 30 shown Varnok || fail "no message box: $1"
    focus "$(shown Varnok | tail -1)"
    xdotool key "${2:-Return}"
    wait_for 10 hidden Varnok || fail "box stayed open: $1"
}

step "start-up, from the Start-menu shortcut"
# Wine's GDI text leaves line edits blank on its X11 windows; FreeType draws them as Windows does.
WINEQT_QPA_PLATFORM=windows:fontengine=freetype wine start /unix "$shortcut" >"$work/start.log" 2>&1 ||
    fail "the shortcut did not start: $(cat "$work/start.log")"
wait_for 60 shown Form1 || fail "the main window did not appear"
window=$(shown Form1 | head -1)
focus "$window"
/usr/bin/python3 "$here/ping.py" "$window" 100000 0.1 >"$work/pings" 2>&1 &
ping_pid=$!

step "Recolha, with the save question answered"
click_at_twips 8227 5827 # Professor
focus "$window"
xdotool type 'Prof. Exemplo'
click_at_twips 7807 7447 # "Recolha"
answer_box "save question for pc02"
# Each copy opens in the editor as it lands; at the end a box names what was not collected (pc03,
# \\pc06), and once it is answered the collection folder opens.
wait_for 60 at_least notepad.exe 6 || fail "the editor did not open six copies: $(windows_of notepad.exe)"
answer_box "what was not collected"
wait_for 60 at_least explorer.exe 1 || fail "the collection folder was not opened"
import -window "$window" "$artefacts/varnok-windows-e2e.png" || true

step "checking the collection"
(cd "$collection" && sha256sum --quiet --strict -c SHA256SUMS) || fail "SHA256SUMS does not check"
[[ $(cut -c67- "$collection/SHA256SUMS" | sort | tr '\n' '|') == 'exame.c|lento.txt|relatório.txt|resposta (2).txt|resposta.txt|trabalho.txt|' ]] ||
    fail "SHA256SUMS does not list the six copies: $(cat "$collection/SHA256SUMS")"
log=$collection/log.txt
# Windows-1252, every line ended by CR LF, paths as Windows writes them.
[[ $(grep -c $'\r$' "$log") -eq $(wc -l <"$log") && $(tail -c1 "$log" | od -An -c) == *'\n' ]] ||
    fail "log.txt has a line not ended by CR LF"
text=$(iconv -f WINDOWS-1252 -t UTF-8 "$log") || fail "log.txt is not Windows-1252"
grep -q 'relatório\.txt' <<<"$text" || fail "log.txt does not name relatório.txt: $text"
grep -qF "$(win "$lab/pc03-desligado") nada recolhido: " <<<"$text" || fail "log.txt does not name pc03: $text"
grep -qF '\\pc06\exame nada recolhido: ' <<<"$text" || fail "log.txt does not name \\\\pc06\\exame: $text"
grep -qF '\\pc05\exame\trabalho.txt' <<<"$text" || fail "log.txt does not name \\\\pc05\\exame\\trabalho.txt: $text"

step "Apaga Originais, confirmed with Yes"
click_at_twips 8887 7447 # "Apaga Originais"
answer_box "confirmation" y
originals() { find "$lab/pc01" "$lab/pc02" "$lab/pc05" "$work/slow" -maxdepth 1 -type f; }
emptied() { [[ -z $(originals) ]]; }
wait_for 120 emptied || fail "the stations were not emptied: $(originals)"
[[ $(cd "$lab/backup" && sha256sum -- * | grep -v ' backup-log.txt$' | cut -c1-64 | sort) == \
    $(cut -c1-64 "$collection/SHA256SUMS" | sort) ]] || fail "the backups are not the originals"
record=$(iconv -f WINDOWS-1252 -t UTF-8 "$lab/backup/backup-log.txt") || fail "backup-log.txt is not Windows-1252"
[[ $(grep -c ' Copiado para ' <<<"$record") -eq 6 && $(grep -c '^A apagar .*: movido para \.varnok-' <<<"$record") -eq 6 ]] ||
    fail "backup-log.txt does not name six backups and six moves: $record"
! grep -qE 'interrompido|foi apagado' <<<"$record" || fail "backup-log.txt tells of a failure: $record"
hidden_files=$(find "$lab" "$work/slow" -name '.varnok-*')
[[ -z $hidden_files ]] || fail "hidden files left: $hidden_files"

kill -TERM "$ping_pid" && wait "$ping_pid" || true
longest=$(cat "$work/pings")
# Wine reads a folder under one lock for the whole process, so each listing of the slow station
# holds the window's own file calls too (up to a second here), which Windows does not: under
# Wine the bound is the station's deadline, 3 s, that a station call made on the window's
# thread would reach. The Linux end-to-end test holds the window to 0.1 s.
[[ $longest =~ ^[0-9]+$ ]] && ((longest < 3000)) || fail "the window took $longest ms to answer a ping"
echo "longest answer to a ping: $longest ms"

step "closing"
click_at_twips 727 7567 # "Fecha"
wait_for 30 hidden Form1 || fail "the window did not close"
echo "E2E passed"
