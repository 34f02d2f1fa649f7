# Sourced by the comparisons with Wine: a fresh Wine prefix of their own in a work folder ($work),
# set up as a German system like the setup's users', both removed when the script exits
# (QUARNEL_KEEP_DIFFERENTIAL keeps them). Provides german_wine, which runs a program in it.
PATH="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/wine-loader:$PATH"
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
german_wine_cleanup() {
    wineserver -k >/dev/null 2>&1
    [ -n "${QUARNEL_KEEP_DIFFERENTIAL:-}" ] || rm -rf "$work"
}
trap german_wine_cleanup EXIT
german_wine() { env LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 wine "$@"; }
german_wine wineboot -i >/dev/null 2>&1
wineserver -w
