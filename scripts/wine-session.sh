# Sourced (sh or bash) by the scripts that run Windows programs under Wine: a fresh Wine prefix of
# their own and a private virtual display, both removed when the script exits. A display number
# may be asked for with QUARNEL_DISPLAY; otherwise the first free one from :90 on is taken.
WINEPREFIX=$(mktemp -d)
WINEDEBUG=-all
export WINEPREFIX WINEDEBUG
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
