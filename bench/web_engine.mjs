// The WebAssembly engine under Node: loading, and each page action with the parts of the view
// a repaint reads (the header and the page's own part), on the shipped data with the veteran example and on a data set about a hundred
// times as large (written by bench_rules_load --write-set).
//
//   scripts/build-wasm.sh && node bench/web_engine.mjs [build/bin/bench_rules_load]

import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), "..");
const wasmDir = process.env.VARN_WASM_DIR ?? path.join(root, "build-wasm/bin");
const writer = process.argv[2] ?? path.join(root, "build/bin/bench_rules_load");

const files = (dir) => {
    const names = fs.readdirSync(dir).filter((n) => n.endsWith(".dat"));
    return [names, names.map((n) => new Uint8Array(fs.readFileSync(path.join(dir, n))))];
};
const ms = (t0) => (performance.now() - t0).toFixed(1);

let t0 = performance.now();
const { default: create } = await import(path.join(wasmDir, "varn-engine.mjs"));
const module = await create({ wasmBinary: fs.readFileSync(path.join(wasmDir, "varn-engine.wasm")) });
console.log(`module ready: ${ms(t0)} ms`);

// The lists the pages show, as the page reads them after start.
function lists(engine) {
    const t = performance.now();
    let bytes = 0;
    for (const part of ["races", "disciplines", "skills", "spells", "equipment"]) {
        const text = engine.catalogPart(part);
        JSON.parse(text);
        bytes += text.length;
    }
    console.log(`  the pages' lists read and parsed: ${ms(t)} ms, ${bytes} bytes`);
}

const PAGE_OF = {
    talentRank: "talents",
    skillRank: "skills",
    attributeBase: "attributes",
    circle: "disciplines",
    buy: "equipment",
    name: "character",
};

function actions(label, engine, ops) {
    const times = [];
    for (let round = 0; round < 20; round++)
        for (const op of ops) {
            const t = performance.now();
            const result = JSON.parse(engine.apply(JSON.stringify(op)));
            JSON.parse(engine.viewPart("header"));
            JSON.parse(engine.viewPart(PAGE_OF[op.op]));
            times.push(performance.now() - t);
            if (!result.ok) throw new Error(`${label}: ${JSON.stringify(op)}: ${result.message}`);
        }
    times.sort((a, b) => a - b);
    const mean = times.reduce((a, b) => a + b, 0) / times.length;
    console.log(`${label}: action + view part mean ${mean.toFixed(2)} ms, median ${times[times.length >> 1].toFixed(2)} ms, ` +
        `p99 ${times[Math.floor(times.length * 0.99)].toFixed(2)} ms over ${times.length}`);
}

const shipped = new module.Engine();
t0 = performance.now();
shipped.loadDataSet(...files(path.join(root, "data")));
console.log(`shipped data set: load ${ms(t0)} ms`);
lists(shipped);
shipped.openVrn(new Uint8Array(fs.readFileSync(path.join(root, "examples/veteran.vrn"))), "veteran.vrn");
actions("shipped + veteran", shipped, [
    { op: "talentRank", talent: "Spell Shaping", rank: 9 },
    { op: "talentRank", talent: "Spell Shaping", rank: 8 },
    { op: "attributeBase", attribute: "Charisma", value: 11 },
    { op: "attributeBase", attribute: "Charisma", value: 10 },
    { op: "circle", discipline: "Galesinger", circle: 9 },
    { op: "circle", discipline: "Galesinger", circle: 8 },
    { op: "buy", category: "misc", item: "Backpack" },
    { op: "name", value: "Serrow" },
]);

const large = fs.mkdtempSync(path.join(os.tmpdir(), "varn-large-"));
execFileSync(writer, ["--write-set", large]);
const big = new module.Engine();
t0 = performance.now();
const loaded = JSON.parse(big.loadDataSet(...files(large)));
console.log(`hundredfold data set: load ${ms(t0)} ms (ok ${loaded.ok})`);
lists(big);
const catalog = { skills: JSON.parse(big.catalogPart("skills")), equipment: JSON.parse(big.catalogPart("equipment")) };
const discipline = JSON.parse(big.viewPart("disciplines")).list[0].name;
big.apply(JSON.stringify({ op: "circle", discipline, circle: 5 }));
const talent = JSON.parse(big.viewPart("talents")).list[0].name;
const skill = catalog.skills[catalog.skills.length - 1].name;
actions("hundredfold", big, [
    { op: "talentRank", talent, rank: 3 },
    { op: "talentRank", talent, rank: 2 },
    { op: "skillRank", skill, rank: 2 },
    { op: "skillRank", skill, rank: 1 },
    { op: "circle", discipline, circle: 6 },
    { op: "circle", discipline, circle: 5 },
    { op: "buy", category: "weapons", item: catalog.equipment.find((e) => e.category === "weapons").name },
]);
fs.rmSync(large, { recursive: true, force: true });
