#!/usr/bin/env bash
# Builds the web page into one static folder (build-web/, or VARN_WEB_OUT): the engine from
# scripts/build-wasm.sh (or the folder VARN_WASM_DIR names), then npm packages from the lock
# file, type-check, lint and bundle with the shipped data set, manifest and service worker.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${VARN_WASM_DIR:-}" ]; then
    "$root/scripts/build-wasm.sh"
    export VARN_WASM_DIR=${VARN_WASM_BUILD_DIR:-$root/build-wasm}/bin
fi
cd "$root/web"
# npm ci only when the lock file changed since the last install.
if ! cmp -s package-lock.json node_modules/.varn-installed-lock 2>/dev/null; then
    npm ci --no-audit --no-fund --loglevel=error
    cp package-lock.json node_modules/.varn-installed-lock
fi
npx tsc --noEmit -p .
npx eslint --max-warnings 0 .
node build.mjs
