#!/usr/bin/env bash
# Builds the web page's engine (rules + character + binding) with emscripten into build-wasm/bin/
# (or $VARN_WASM_BUILD_DIR): varn-engine.mjs (ES module) and varn-engine.wasm.
# Node runs the module as a browser would, given the .wasm bytes as wasmBinary (web/engine-tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VARN_WASM_BUILD_DIR:-$root/build-wasm}
# emscripten's JavaScript optimiser needs acorn, which Debian keeps outside a foreign node's path.
if [ -d /usr/share/nodejs ]; then
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
fi
mkdir -p "$build"
start=$(date +%s)
emcmake cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target varn-engine
echo "varn-engine built in $(( $(date +%s) - start )) s: $(stat -c %s "$build/bin/varn-engine.wasm") bytes of WebAssembly"
