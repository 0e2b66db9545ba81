// The same scenarios through the native core and through the WebAssembly engine give
// byte-identical character files, sheets, JSON and step results.

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { test } from "node:test";
import { newEngine, root, runScenario } from "./harness.mjs";

const runner = process.env.VARN_WEB_SCENARIO ?? path.join(root, "build/tests/web/varn-web-scenario");
const scenarios = path.join(root, "tests/data/web");
const out = fs.mkdtempSync(path.join(os.tmpdir(), "varn-web-"));

for (const file of fs.readdirSync(scenarios).filter((f) => f.endsWith(".ops"))) {
    test(`parity: ${file}`, async () => {
        const prefix = path.join(out, path.basename(file, ".ops"));
        execFileSync(runner, [path.join(root, "data"), root, path.join(scenarios, file), prefix]);
        const engine = await newEngine();
        const web = runScenario(engine, fs.readFileSync(path.join(scenarios, file), "utf8"));
        engine.delete();
        assert.equal(web.log, fs.readFileSync(prefix + ".log", "utf8"));
        assert.ok(web.vrn.equals(fs.readFileSync(prefix + ".vrn")), "character files differ");
        assert.equal(web.txt, fs.readFileSync(prefix + ".txt", "utf8"));
        assert.equal(web.json, fs.readFileSync(prefix + ".json", "utf8"));
        assert.equal(web.html, fs.readFileSync(prefix + ".html", "utf8"));
    });
}

test.after(() => fs.rmSync(out, { recursive: true, force: true }));
