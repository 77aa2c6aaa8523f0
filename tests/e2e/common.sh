# What the end-to-end tests share, sourced by each first: its working folder and artefacts,
# failing with a screenshot, waiting, a virtual display, the lab's common stations, the window's
# controls by their places, message boxes, the pings, and what a collection and a deletion must
# leave on disk. Each test has a cleanup of its own that ends with finish.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
xvfb_pid=''

# begin NAME TOOL...: the tools checked (these and the ones every test needs), a working folder of
# the test's own in work, the artefacts' folder in artefacts ($E2E_ARTEFACTS, or the working folder),
# and the test's cleanup at exit.
begin() {
    e2e_name=$1
    shift
    local tool
    for tool in "$@" Xvfb xdotool xwininfo import sha256sum iconv fusermount; do
        command -v "$tool" >/dev/null || { echo "E2E: $tool is missing (README: the end-to-end test's packages)" >&2; exit 1; }
    done
    /usr/bin/python3 -c 'import fusepy, Xlib' 2>/dev/null || { echo "E2E: python3-fusepy or python3-xlib is missing" >&2; exit 1; }
    artefacts=$(mkdir -p "${E2E_ARTEFACTS:-$PWD}" && cd "${E2E_ARTEFACTS:-$PWD}" && pwd)
    work=$(mktemp -d "/tmp/$e2e_name.XXXXXX")
    trap cleanup EXIT
}

# The end of every test: every FUSE mount in its folder detached (even while a call still holds
# it), what still runs from the folder stopped, the display ended, the folder gone (kept with
# E2E_KEEP set).
finish() {
    awk -v under="$work/" 'index($2, under) == 1 { print $2 }' /proc/mounts | xargs -r -n1 fusermount -uz 2>/dev/null || true
    pkill -f -- "$work" 2>/dev/null || true
    # Waited for: a display ending late would remove the socket of the next run's.
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
    [[ -n ${E2E_KEEP:-} ]] && echo "kept: $work" || rm -rf "$work" || echo "E2E: $work is left behind" >&2
}

fail() {
    echo "E2E FAIL: $*" >&2
    if [[ -n ${DISPLAY:-} ]]; then import -window root "$artefacts/$e2e_name-failure.png" 2>/dev/null || true; fi
    exit 1
}
step() { echo "== $*"; }

# wait_for SECONDS COMMAND...: until the command succeeds; CI machines are slow.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}
# The windows of that title on show, and the keyboard given to one: through the window manager
# where there is one, directly where there is none.
shown() { xdotool search --onlyvisible --name "^$1\$"; }
hidden() { ! shown "$1"; }
focus() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null || true; }

# A display of its own, in DISPLAY; its process in xvfb_pid.
start_display() {
    # -noreset: a server resetting as its last client leaves refuses the next one for a moment.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_for 20 test -s "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -1 "$work/display")"
}

# The lab, in lab, with its collection folder, in collection: pc01 holds exame.c and resposta.txt,
# pc02 a resposta.txt too, not saved lately (the run asks); $work/slow holds lento.txt, for a slow
# station.
make_lab() {
    lab=$work/lab
    collection="$lab/recolha/Lab E2E/Sessao1"
    mkdir -p "$collection" "$lab/pc01" "$lab/pc02" "$work/slow"
    printf 'int main(void) { return 0; }\r\n' >"$lab/pc01/exame.c"
    printf 'resposta do aluno 1\r\n' >"$lab/pc01/resposta.txt"
    printf 'resposta do aluno 2\r\n' >"$lab/pc02/resposta.txt" # the same name as pc01's
    touch -d '-30 minutes' "$lab/pc02/resposta.txt"
    printf 'resposta lenta\r\n' >"$work/slow/lento.txt"
}

# mount_fuse SOURCE MOUNTPOINT MS: a station on a FUSE file system of the project's own that shows
# SOURCE and answers every call after MS ms; its process in fuse_pid. Slow, it still answers; its
# process stopped, every call on it is held in the kernel, as on a share that stopped answering.
mount_fuse() {
    mkdir -p "$2"
    /usr/bin/python3 "$here/../../scripts/slowfs.py" "$1" "$2" "$3" >>"$work/fuse.log" 2>&1 &
    fuse_pid=$!
    wait_for 20 mountpoint -q "$2" || fail "$2 did not mount: $(cat "$work/fuse.log")"
}

# The window's controls are placed in twips, 15 to a pixel, from its client area's corner.
click_at_twips() {
    local x y
    x=$(xwininfo -id "$window" | sed -n 's/^ *Absolute upper-left X: *//p')
    y=$(xwininfo -id "$window" | sed -n 's/^ *Absolute upper-left Y: *//p')
    xdotool mousemove --sync $((x + $1 / 15)) $((y + $2 / 15)) click 1
}

# The message box now open, answered with Return (its default button), or with the key given.
answer_box() {
    wait_for 30 shown Varnok || fail "no message box: $1"
    focus "$(shown Varnok | tail -1)"
    xdotool key "${2:-Return}"
    wait_for 10 hidden Varnok || fail "box stayed open: $1"
}

# The main window, once shown, in window; from then until it closes the desktop pings it every
# 0.1 s (check_pings says how late its answers may come).
await_window() {
    wait_for 60 shown Form1 || fail "the main window did not appear"
    window=$(shown Form1 | head -1)
    focus "$window"
    /usr/bin/python3 "$here/../../scripts/ping.py" "$window" 100000 0.1 >"$work/pings" 2>&1 &
    ping_pid=$!
}
check_pings() {
    kill -TERM "$ping_pid" && wait "$ping_pid" || true
    local longest
    longest=$(cat "$work/pings")
    [[ $longest =~ ^[0-9]+$ ]] && ((longest <= $1)) || fail "the window took $longest ms to answer a ping"
    echo "longest answer to a ping: $longest ms"
}

# The teacher's name typed, "Recolha" pressed, and the save question answered.
press_recolha() {
    step "Recolha, with the save question answered"
    click_at_twips 8227 5827 # Professor
    focus "$window"
    xdotool type 'Prof. Exemplo'
    click_at_twips 7807 7447 # "Recolha"
    answer_box "save question for pc02"
}

# check_collection FOLDER 'name|name|...|': every copy checks against SHA256SUMS, which lists
# these names; byte for byte the unit tests' work.
check_collection() {
    step "checking the collection"
    (cd "$1" && sha256sum --quiet --strict -c SHA256SUMS) || fail "SHA256SUMS does not check"
    [[ $(cut -c67- "$1/SHA256SUMS" | sort | tr '\n' '|') == "$2" ]] ||
        fail "SHA256SUMS does not list the copies $2: $(cat "$1/SHA256SUMS")"
}

# empty_stations BACKUP COLLECTION MOVES FOLDER...: "Apaga Originais" confirmed with Y (Return
# would say No) until no file is left in the folders; then each backup holds what was collected
# from the same original (COLLECTION's SHA256SUMS; hidden files aside), backup-log.txt names MOVES
# backups and moves and no failure, and no file is left under a hidden name.
empty_stations() {
    local backup=$1 collection=$2 moves=$3 record hidden_files
    shift 3
    stations=("$@")
    step "Apaga Originais, confirmed with Yes (Return would say No)"
    originals() { find "${stations[@]}" -maxdepth 1 -type f; }
    emptied() { [[ -z $(originals) ]]; }
    click_at_twips 8887 7447 # "Apaga Originais"
    answer_box "confirmation" y
    wait_for 120 emptied || fail "the stations were not emptied: $(originals)"
    [[ $(cd "$backup" && sha256sum -- * | grep -v ' backup-log.txt$' | cut -c1-64 | sort) == \
        $(cut -c1-64 "$collection/SHA256SUMS" | sort) ]] || fail "the backups are not the originals"
    record=$(iconv -f WINDOWS-1252 -t UTF-8 "$backup/backup-log.txt") || fail "backup-log.txt is not Windows-1252"
    [[ $(grep -c ' Copiado para ' <<<"$record") -eq $moves &&
        $(grep -c '^A apagar .*: movido para \.varnok-' <<<"$record") -eq $moves ]] ||
        fail "backup-log.txt does not name $moves backups and $moves moves: $record"
    ! grep -qE 'interrompido|foi apagado' <<<"$record" || fail "backup-log.txt tells of a failure: $record"
    hidden_files=$(find "$collection" "$@" -name '.varnok-*')
    [[ -z $hidden_files ]] || fail "hidden files left: $hidden_files"
}

close_window() {
    step "closing"
    click_at_twips 727 7567 # "Fecha"
    wait_for 30 hidden Form1 || fail "the window did not close"
    echo "E2E passed"
}
