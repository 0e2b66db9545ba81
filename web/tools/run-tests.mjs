// Runs the browser tests: compiles tests/*.test.ts with esbuild next to nothing but a temporary
// folder, then hands them to Node's test runner. The page must be built (scripts/build-web.sh).
import { spawnSync } from "node:child_process";
import { mkdtempSync, readdirSync, rmSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { bundleForNode } from "./node-bundle.mjs";

const here = dirname(fileURLToPath(import.meta.url));
const tests = join(here, "../tests");
const out = mkdtempSync(join(here, "../.tests-"));
const only = process.argv.slice(2);
const entries = readdirSync(tests)
    .filter((f) => f.endsWith(".test.ts") && (!only.length || only.some((o) => f.includes(o))))
    .map((f) => join(tests, f));
await bundleForNode(entries, { outdir: out, outExtension: { ".js": ".mjs" } });
const files = readdirSync(out).map((f) => join(out, f));
const r = spawnSync(process.execPath, ["--test", "--test-concurrency=1", ...files], { stdio: "inherit" });
rmSync(out, { recursive: true, force: true });
process.exit(r.status ?? 1);
