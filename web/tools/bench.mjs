// Compiles bench/NAME.ts (default bench) with esbuild into a temporary file and runs it.
import { spawnSync } from "node:child_process";
import { rmSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { bundleForNode } from "./node-bundle.mjs";

const here = dirname(fileURLToPath(import.meta.url));
const name = process.argv[2] ?? "bench";
const outfile = join(here, "../.tests-bench/bench.mjs");
await bundleForNode([join(here, `../bench/${name}.ts`)], { outfile });
const r = spawnSync(process.execPath, [outfile], { stdio: "inherit" });
rmSync(dirname(outfile), { recursive: true, force: true });
process.exit(r.status ?? 1);
