#!/bin/sh
# The follow-up program of the example package, as the POSIX run starts it: it notes that it ran.
echo "Nachlauf $*: Quarnel ZTR Hotfix 3 ist eingerichtet."
echo "Nachlauf $*" >> "$(dirname "$0")/Nachlauf.log"
