// The WebAssembly engine as the page uses it: files in and out, refusals that lose nothing,
// the undo history, and the texts the pages show.

import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { test } from "node:test";
import { dataFiles, newEngine, root } from "./harness.mjs";

const example = (name) => new Uint8Array(fs.readFileSync(path.join(root, "examples", name)));
const apply = (engine, op) => JSON.parse(engine.apply(JSON.stringify(op)));
const view = (engine) => JSON.parse(engine.view());

test("examples open unmodified and save to the same bytes", async () => {
    const engine = await newEngine();
    for (const name of ["beginner.vrn", "veteran.vrn"]) {
        assert.deepEqual(JSON.parse(engine.openVrn(example(name), name)), { ok: true, messages: [] });
        assert.equal(engine.isModified(), false);
        assert.ok(Buffer.from(engine.saveVrn()).equals(Buffer.from(example(name))), name);
    }
    engine.delete();
});

test("a bad character file is refused with the desktop's words, the open one kept", async () => {
    const engine = await newEngine();
    engine.openVrn(example("veteran.vrn"), "veteran.vrn");
    apply(engine, { op: "name", value: "Kept" });
    const before = engine.view();
    for (const bytes of [new Uint8Array(0), new TextEncoder().encode("no character"), example("veteran.vrn").slice(0, 300)]) {
        const opened = JSON.parse(engine.openVrn(bytes, "broken.vrn"));
        assert.equal(opened.ok, false);
        assert.match(opened.messages.at(-1), /^(Unexpected file format\.|Failed to open document\.)$/);
        assert.equal(engine.view(), before);
    }
    const imported = JSON.parse(engine.importJson('{"format":"varn-character","version":1,"talents":[{"name":"Nowhere"}]}'));
    assert.equal(imported.ok, false);
    assert.equal(engine.view(), before);
    engine.delete();
});

test("a bad data set is refused with start-up's messages, the loaded one kept", async () => {
    const engine = await newEngine();
    apply(engine, { op: "name", value: "Kept" });
    const [catalog, before] = [engine.catalog(), engine.view()];
    const { names, blobs } = dataFiles();
    const without = names.map((n, i) => [n, blobs[i]]).filter(([n]) => n !== "Talents.dat");
    const loaded = JSON.parse(engine.loadDataSet(without.map((f) => f[0]), without.map((f) => f[1])));
    assert.equal(loaded.ok, false);
    assert.ok(loaded.messages.some((m) => m.includes("Talents.dat")), loaded.messages.join("\n"));
    assert.equal(engine.catalog(), catalog);
    assert.equal(engine.view(), before);

    // A folder's paths count by their last part; the set then replaces the old one.
    const again = JSON.parse(engine.loadDataSet(names.map((n) => "MyData/" + n), blobs));
    assert.deepEqual(again, { ok: true, messages: [] });
    assert.equal(view(engine).character.name, "");
    engine.delete();
});

test("the history keeps the last thousand steps and knows the saved state", async () => {
    const engine = await newEngine();
    for (let i = 1; i <= 1003; i++) apply(engine, { op: "legend", field: "earned", value: i });
    apply(engine, { op: "legend", field: "earned", value: 1003 }); // no change, no step
    assert.equal(engine.undoText(), "Undo Legend Points");
    let steps = 0;
    while (engine.undo()) steps++;
    assert.equal(steps, 1000);
    assert.equal(view(engine).character.earned, 3);
    engine.redo();
    engine.markSaved();
    assert.equal(engine.isModified(), false);
    engine.redo();
    assert.equal(engine.isModified(), true);
    engine.undo();
    assert.equal(engine.isModified(), false);
    apply(engine, { op: "name", value: "Branch" });
    assert.equal(engine.redoText(), "");
    engine.delete();
});

test("the pages' warnings and lists come from the engine", async () => {
    const engine = await newEngine();
    apply(engine, { op: "race", name: "Fethrin" });
    const offered = view(engine).disciplines.list.map((d) => d.name);
    apply(engine, { op: "option", option: "raceDisciplineCompatibility", value: false });
    const all = view(engine).disciplines.list.map((d) => d.name);
    assert.ok(offered.length < all.length, `${offered} / ${all}`);
    const closed = all.find((d) => !offered.includes(d));
    apply(engine, { op: "option", option: "raceDisciplineCompatibility", value: true });
    assert.equal(apply(engine, { op: "circle", discipline: closed, circle: 1 }).ok, false);

    assert.equal(engine.threadWeavingWarning("Tempestry"),
        "This character doesn't know the Thread Weaving (Tempestry) talent\n\n");
    apply(engine, { op: "circle", discipline: "Galesinger", circle: 1 });
    apply(engine, { op: "talentRank", talent: "Thread Weaving (Tempestry)", rank: 1 });
    assert.equal(engine.threadWeavingWarning("Tempestry"), "");

    for (const item of ["Round Shield", "Kite Shield"]) apply(engine, { op: "buy", category: "shields", item });
    apply(engine, { op: "wear", index: 0, worn: true });
    assert.equal(view(engine).equipment.warning, "");
    apply(engine, { op: "wear", index: 1, worn: true });
    assert.equal(view(engine).equipment.warning, "Rules do not allow wearing more than one set of armor.");
    assert.deepEqual(JSON.parse(engine.itemDetails("shields", "Round Shield"))[0][0], "Weight");
    assert.equal(apply(engine, { op: "wear", index: 5, worn: true }).ok, false);

    const attributes = view(engine).attributes;
    assert.equal(attributes.fly.includes("/"), true); // a Fethrin flies
    assert.match(attributes.points, /^\d+ \/ 66$/);
    engine.delete();
});

test("sheets and JSON leave in the desktop's forms", async () => {
    const engine = await newEngine();
    engine.openVrn(example("veteran.vrn"), "veteran.vrn");
    const sheet = engine.textSheet();
    assert.ok(sheet.includes("\r\n") && !/[^\r]\n/.test(sheet));
    assert.match(engine.htmlSheet(), /^<!DOCTYPE html>/i);
    const json = engine.exportJson();
    const copy = await newEngine();
    assert.equal(JSON.parse(copy.importJson(json)).ok, true);
    assert.ok(Buffer.from(copy.saveVrn()).equals(Buffer.from(engine.saveVrn())));
    engine.delete();
    copy.delete();
});

test("the view read part by part and the lists read one by one say what the whole ones say", async () => {
    const engine = await newEngine();
    engine.openVrn(example("veteran.vrn"), "veteran.vrn");
    apply(engine, { op: "circle", discipline: "Galesinger", circle: 9 });
    const whole = view(engine);
    const parts = JSON.parse(engine.viewPart("header"));
    for (const part of Object.keys(whole).filter((k) => !(k in parts))) parts[part] = JSON.parse(engine.viewPart(part));
    assert.deepEqual(parts, whole);

    const catalog = JSON.parse(engine.catalog());
    const kinds = { disciplines: "discipline", talents: "talent", skills: "skill", spells: "spell" };
    for (const [part, full] of Object.entries(catalog)) {
        const brief = JSON.parse(engine.catalogPart(part));
        assert.equal(brief.length, full.length, part);
        brief.forEach((b, i) => {
            for (const [k, v] of Object.entries(b)) assert.deepEqual(v, full[i][k], `${part}[${i}].${k}`);
        });
        if (kinds[part]) assert.deepEqual(JSON.parse(engine.entry(kinds[part], full.at(-1).name)), full.at(-1));
    }
    assert.equal(engine.entry("talent", "Nowhere"), "null");
    engine.delete();
});
