# Sourced by the scripts that install packages. apt_get runs apt-get, waiting for another
# installation that holds apt's locks (a desktop's automatic updates, say) instead of failing
# at once: dpkg's lock through DPkg::Lock::Timeout, the package lists' lock, which that option
# does not cover, by trying again.
apt_get() {
    local err deadline=$((SECONDS + 600))
    err=$(mktemp)
    while :; do
        if DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@" 2> >(tee "$err" >&2); then
            rm -f "$err"
            return 0
        fi
        wait # for tee
        if ! grep -q 'Could not get lock' "$err" || ((SECONDS >= deadline)); then
            rm -f "$err"
            return 1
        fi
        echo "apt-get: another installation holds apt's lock; waiting for it" >&2
        sleep 5
    done
}
