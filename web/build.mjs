// Bundles the page into one static folder: the page, the engine (VARN_WASM_DIR, default
// ../build-wasm/bin), the shipped data set (../data), the manifest and the service worker.
import * as esbuild from "esbuild";
import { createHash } from "node:crypto";
import { cpSync, existsSync, mkdirSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from "node:fs";
import { dirname, join, relative, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const root = resolve(here, "..");
const out = resolve(process.env.VARN_WEB_OUT ?? join(root, "build-web"));
const wasm = resolve(process.env.VARN_WASM_DIR ?? join(root, "build-wasm", "bin"));
const data = resolve(process.env.VARN_WEB_DATA ?? join(root, "data"));

for (const f of ["varn-engine.mjs", "varn-engine.wasm"])
    if (!existsSync(join(wasm, f))) throw new Error(`missing ${join(wasm, f)}: build the engine first`);

rmSync(out, { recursive: true, force: true });
mkdirSync(join(out, "engine"), { recursive: true });
mkdirSync(join(out, "data"), { recursive: true });
cpSync(join(here, "static"), out, { recursive: true });
for (const f of ["varn-engine.mjs", "varn-engine.wasm"]) cpSync(join(wasm, f), join(out, "engine", f));
const dataFiles = readdirSync(data).filter((f) => f.endsWith(".dat")).sort();
for (const f of dataFiles) cpSync(join(data, f), join(out, "data", f));
writeFileSync(join(out, "data", "index.json"), JSON.stringify(dataFiles));

await esbuild.build({
    entryPoints: [join(here, "src/app/main.tsx")],
    outfile: join(out, "app.js"),
    bundle: true,
    format: "esm",
    target: "es2022",
    minify: true,
    jsx: "automatic",
    jsxImportSource: "preact",
    logLevel: "warning",
});

const files = [];
const walk = (dir) => {
    for (const f of readdirSync(dir)) {
        const p = join(dir, f);
        if (statSync(p).isDirectory()) walk(p);
        else files.push(relative(out, p).split("\\").join("/"));
    }
};
walk(out);
const hash = createHash("sha256");
for (const f of files.sort()) hash.update(f).update(readFileSync(join(out, f)));
await esbuild.build({
    entryPoints: [join(here, "src/sw.ts")],
    outfile: join(out, "sw.js"),
    bundle: true,
    minify: true,
    target: "es2022",
    define: {
        VARN_BUILD: JSON.stringify(hash.digest("hex").slice(0, 16)),
        VARN_FILES: JSON.stringify(["./", ...files]),
    },
    logLevel: "warning",
});
console.log(`web page built in ${out}`);
