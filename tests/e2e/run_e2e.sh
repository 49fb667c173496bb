#!/bin/sh
# Runs the end-to-end suite against a built portable folder.
#   run_e2e.sh <built SkyLane folder> [pytest arguments...]
# Exit 77 (skipped) only when there is no Xvfb; a run that collects no
# tests is a failure.
set -u
if ! command -v Xvfb >/dev/null 2>&1; then
  echo "Xvfb not installed: end-to-end suite skipped"
  exit 77
fi
folder=$(cd "$1" && pwd) || exit 1
shift
here=$(cd "${0%/*}" && pwd)
export SKYLANE_E2E_FOLDER="$folder" PYTHONDONTWRITEBYTECODE=1
cd "$here"
/usr/bin/python3 -m pytest -q -p no:cacheprovider "$@" .
rc=$?
[ "$rc" -eq 5 ] && { echo "no end-to-end tests were collected"; exit 1; }
exit "$rc"
