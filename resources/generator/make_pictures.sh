#!/usr/bin/env bash
# Rebuilds every picture under resources/ from make_pictures.cpp.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${TMPDIR:-/tmp}/varn-pictures-build"
cmake -S "$here" -B "$build" >/dev/null
cmake --build "$build" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/make_pictures" "$here/.."
