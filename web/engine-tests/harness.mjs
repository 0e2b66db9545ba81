// Loads the WebAssembly engine under Node and runs scenarios the way the native runner
// (tests/web/scenario_runner.cpp) does, step for step and output for output.

import fs from "node:fs";
import path from "node:path";

export const root = process.env.VARN_ROOT ?? path.resolve(import.meta.dirname ?? ".", "../..");
export const wasmDir = process.env.VARN_WASM_DIR ?? path.join(root, "build-wasm/bin");

let modulePromise;

// One module for the whole test file: each test makes its own Engine in it.
export function loadModule() {
    modulePromise ??= import(path.join(wasmDir, "varn-engine.mjs")).then(({ default: create }) =>
        create({ wasmBinary: fs.readFileSync(path.join(wasmDir, "varn-engine.wasm")) }),
    );
    return modulePromise;
}

export function dataFiles(folder = path.join(root, "data")) {
    const names = fs.readdirSync(folder).sort();
    return { names, blobs: names.map((n) => new Uint8Array(fs.readFileSync(path.join(folder, n)))) };
}

// An engine with the data set of `folder` (the shipped one by default); `loaded` is what
// loadDataSet answered.
export async function newEngine(folder) {
    const module = await loadModule();
    const engine = new module.Engine();
    const { names, blobs } = dataFiles(folder);
    engine.loaded = engine.loadDataSet(names, blobs);
    if (!JSON.parse(engine.loaded).ok) throw new Error("data set refused: " + engine.loaded);
    return engine;
}

const bytes = (file) => new Uint8Array(fs.readFileSync(path.join(root, file)));

export function runScenario(engine, text) {
    let log = engine.loaded + "\n";
    const steps = {
        new: () => (engine.newCharacter(), ""),
        undo: () => String(engine.undo()),
        redo: () => String(engine.redo()),
        "undo-all": () => {
            let n = 0;
            while (engine.undo()) n++;
            return String(n);
        },
        "redo-all": () => {
            let n = 0;
            while (engine.redo()) n++;
            return String(n);
        },
        saved: () => (engine.markSaved(), ""),
        view: () => engine.view(),
        reimport: () => engine.importJson(engine.exportJson()),
    };
    for (const line of text.split("\n")) {
        if (line === "" || line.startsWith("#")) continue;
        let result;
        if (line.startsWith("{")) result = engine.apply(line);
        else if (line.startsWith("open ")) {
            const file = line.slice(5);
            result = engine.openVrn(bytes(file), path.basename(file));
        } else if (line.startsWith("import "))
            result = engine.importJson(new TextDecoder().decode(bytes(line.slice(7))));
        else if (steps[line]) result = steps[line]();
        else throw new Error("unknown step: " + line);
        log += `${line}\n=> ${result} | ${engine.undoText()} | ${engine.redoText()} | ${
            engine.isModified() ? "modified" : "unmodified"
        }\n`;
    }
    return {
        log,
        vrn: Buffer.from(engine.saveVrn()),
        txt: engine.textSheet(),
        json: engine.exportJson(),
        html: engine.htmlSheet(),
    };
}
