#!/usr/bin/env bash
# Installs what Orvane needs, builds it (release) and starts it (`orvanectl run`). Arguments, when
# given, go to orvanectl instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cmake --preset release -S "$root" >/dev/null
cmake --build --preset release
if [ $# -eq 0 ]; then set -- run; fi
exec "$root/build/release/tools/orvanectl/orvanectl" "$@"
