# Sourced (sh or bash) by the scripts that run Windows programs under Wine: a fresh Wine prefix of
# their own and a private virtual display, both removed when the script exits. A display number
# may be asked for with QUARNEL_DISPLAY; otherwise the first free one from :90 on is taken.
#
# A script that sourced it exports the session, and a script it starts that sources it again runs
# in the same prefix on the same display (scripts/test.sh makes one session for all its tiers).
wine_session_here=$(cd "$(dirname "${BASH_SOURCE:-$0}")" && pwd)
case ":$PATH:" in
*":$wine_session_here/wine-loader:"*) ;;
*) PATH="$wine_session_here/wine-loader:$PATH" && export PATH ;;
esac

# Whether this machine starts 32-bit programs (the x86 build): it needs 32-bit Wine and a kernel
# that runs 32-bit programs at all.
wine_session_runs_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

if [ -z "${QUARNEL_WINE_SESSION:-}" ]; then
    WINEPREFIX=$(mktemp -d)
    WINEDEBUG=-all
    QUARNEL_WINE_SESSION=$WINEPREFIX
    export WINEPREFIX WINEDEBUG QUARNEL_WINE_SESSION
    wine_session_display=${QUARNEL_DISPLAY:-}
    if [ -z "$wine_session_display" ]; then
        wine_session_display=90
        while [ -e "/tmp/.X11-unix/X$wine_session_display" ] || [ -e "/tmp/.X$wine_session_display-lock" ]; do
            wine_session_display=$((wine_session_display + 1))
        done
    fi
    Xvfb ":$wine_session_display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    wine_session_xvfb=$!
    DISPLAY=":$wine_session_display"
    export DISPLAY
    wine_session_cleanup() {
        wineserver -k >/dev/null 2>&1 || true
        kill "$wine_session_xvfb" 2>/dev/null || true
        rm -rf "$WINEPREFIX"
    }
    trap wine_session_cleanup EXIT
    wine wineboot -i >/dev/null 2>&1
    wineserver -w || true
fi
