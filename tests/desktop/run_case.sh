#!/usr/bin/env bash
# Runs one case of the desktop suite: run_case.sh PROGRAM CASE [WORK_FOLDER]. The case's
# screenshots stay in WORK_FOLDER/shots for a person to look at.
set -euo pipefail
export ZELVORA=$1
case_name=$2
export DESKTOP_WORK=${3:-$(mktemp -d)}
rm -rf "$DESKTOP_WORK"
mkdir -p "$DESKTOP_WORK"
# shellcheck source=tests/desktop/desktop.sh
source "$(dirname "$0")/desktop.sh"
# shellcheck disable=SC1090 # the case named on the command line
source "$(dirname "$0")/cases/$case_name.sh"
echo "ok: $case_name (screenshots in $SHOTS)"
