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
# Windows's editor and file manager are Wine's own. A screenshot of the window is kept as
# $E2E_ARTEFACTS/varnok-windows-e2e.png (default: the working folder).
source "$(dirname "$0")/common.sh"

shortcut=${1:?usage: windows.sh SHORTCUT LAB_FOLDER}
lab_folder=${2:?usage: windows.sh SHORTCUT LAB_FOLDER}
: "${WINEPREFIX:?the Wine prefix Varnok is installed in}"
export WINEPREFIX WINEDEBUG=-all
unc=$WINEPREFIX/dosdevices/unc
wm_pid=''
cleanup() {
    wineserver -k 2>/dev/null || true
    [[ -n $wm_pid ]] && kill "$wm_pid" 2>/dev/null || true
    rm -f "$unc/pc05/exame" && rmdir "$unc/pc05" 2>/dev/null || true
    finish
}
begin varnok-windows-e2e wine wineserver winepath openbox xprop

start_display
# A desktop has a window manager, as Windows always has: without one, Wine waits two seconds
# for the acknowledgement of every window it hides (each message box), and the window with it.
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
wait_for 20 xprop -root _NET_SUPPORTING_WM_CHECK || fail "the window manager did not start"
# Wine's session keeps the display of the program that began it.
wineserver -k 2>/dev/null || true

# --- The lab -----------------------------------------------------------------------------

make_lab
win() { winepath -w "$1" 2>/dev/null; }
printf 'relat\xc3\xb3rio\r\n' >"$lab/pc01/relatório.txt"
mount_fuse "$work/slow" "$lab/pc04" 100 # slow, never dead
# pc05 and pc06 by their shares' names, as a lab writes them: Wine reaches \\pc05\exame through
# its folder of shares; \\pc06 is a PC switched off.
mkdir -p "$unc/pc05" "$lab/backup" "$lab/pc05" && ln -sfn "$lab/pc05" "$unc/pc05/exame"
printf 'resposta do aluno 5\r\n' >"$lab/pc05/trabalho.txt"

printf '%s\r\n' '*.txt;*.c' 'Lab E2E' "$(win "$lab/recolha")" "$(win "$lab/backup")" "$(win "$lab/pc01")" \
    "$(win "$lab/pc02")" "$(win "$lab/pc03-desligado")" "$(win "$lab/pc04")" '\\pc05\exame' '\\pc06\exame' \
    >"$lab_folder/pcs.txt"

# --- Driving the window ------------------------------------------------------------------

step "start-up, from the Start-menu shortcut"
# Wine's GDI text leaves line edits blank on its X11 windows; FreeType draws them as Windows does.
WINEQT_QPA_PLATFORM=windows:fontengine=freetype wine start /unix "$shortcut" >"$work/start.log" 2>&1 ||
    fail "the shortcut did not start: $(cat "$work/start.log")"
await_window
sleep 3 # every row listed, the slow station's too, before Notepad covers the window
import -window "$window" "$artefacts/$e2e_name.png" || true

press_recolha
windows_of() { xdotool search --onlyvisible --class "^$1\$" 2>/dev/null | wc -l; }
at_least() { (($(windows_of "$1") >= $2)); }
# Each copy opens in Notepad as it lands; at the end a box names what was not collected (pc03,
# \\pc06), and once it is answered the collection folder opens in Explorer.
wait_for 60 at_least notepad.exe 6 || fail "the editor did not open six copies: $(windows_of notepad.exe)"
answer_box "what was not collected"
wait_for 60 at_least explorer.exe 1 || fail "the collection folder was not opened"

check_collection "$collection" 'exame.c|lento.txt|relatório.txt|resposta (2).txt|resposta.txt|trabalho.txt|'
log=$collection/log.txt
# Windows-1252, every line ended by CR LF, paths as Windows writes them.
[[ $(grep -c $'\r$' "$log") -eq $(wc -l <"$log") && $(tail -c1 "$log" | od -An -c) == *'\n' ]] ||
    fail "log.txt has a line not ended by CR LF"
text=$(iconv -f WINDOWS-1252 -t UTF-8 "$log") || fail "log.txt is not Windows-1252"
for line in 'relatório.txt Copiado para ' "$(win "$lab/pc03-desligado") nada recolhido: " \
    '\\pc06\exame nada recolhido: ' '\\pc05\exame\trabalho.txt Copiado para '; do
    grep -qF "$line" <<<"$text" || fail "log.txt has no line with $line: $text"
done

empty_stations "$lab/backup" "$collection" 6 "$lab/pc01" "$lab/pc02" "$lab/pc05" "$work/slow"

# Wine reads a folder under one lock for the whole process, so each listing of the slow station
# holds the window's own file calls too (up to a second here), which Windows does not: under
# Wine the bound is the station's deadline, 3 s, that a station call made on the window's
# thread would reach. The Linux end-to-end test holds the window to 0.1 s.
check_pings 2999

close_window
