#!/bin/sh
# run_e2e.sh <built SkyLane folder> [pytest arguments...]: the end-to-end
# suite; exit 77 (skipped) only when there is no Xvfb.
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb not installed: end-to-end suite skipped"; exit 77; }
SKYLANE_E2E_FOLDER=$(cd "$1" && pwd) || exit 1
shift
export SKYLANE_E2E_FOLDER PYTHONDONTWRITEBYTECODE=1
cd "${0%/*}" && /usr/bin/python3 -m pytest -q -p no:cacheprovider "$@" .
rc=$?
[ "$rc" -eq 5 ] && { echo "no end-to-end tests were collected"; exit 1; }
exit "$rc"
