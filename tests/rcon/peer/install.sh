#!/bin/bash
# Installs the pinned RCON client of the peer test (npm ci), unless the
# installed tree already matches the lock file.
set -euo pipefail
cd "$(dirname "$0")"
if [ node_modules/.package-lock.json -nt package-lock.json ]; then exit 0; fi
npm ci --no-audit --no-fund --loglevel=error >/dev/null
