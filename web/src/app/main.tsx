// Start-up: the engine, then the data set (the one chosen earlier, else the shipped one),
// then the character (unsaved work kept in the browser, else a new one).
import { render } from "preact";
import { App } from "./App";
import { loadEngine } from "./engineClient";
import { Session, shippedDataSet } from "./session";
import { keptDataSet, keptWork } from "./storage";
import { skillTree } from "./pages/SkillsPage";
import { spellTree } from "./pages/GrimoirePage";
import { equipmentTree } from "./pages/EquipmentPage";

async function start(): Promise<void> {
    const root = document.getElementById("app")!;
    // The shipped files are fetched while the engine compiles; they are needed unless a data
    // set chosen earlier loads.
    const shipped = shippedDataSet();
    shipped.catch(() => {});
    const [engine, chosen] = await Promise.all([
        loadEngine(new URL("engine/varn-engine.mjs", document.baseURI).href),
        keptDataSet(),
    ]);
    performance.mark("varn-engine");
    const early: [string, string[]][] = [];
    let dataSet = chosen;
    if (chosen) {
        const r = engine.loadDataSet(chosen);
        if (r.messages.length) early.push(["Data set", r.messages]);
        if (!r.ok) dataSet = null;
    }
    if (!dataSet) {
        dataSet = await shipped;
        const r = engine.loadDataSet(dataSet);
        if (r.messages.length) early.push(["Data set", r.messages]);
        if (!r.ok) {
            root.textContent = r.messages.join("\n");
            return;
        }
    }
    performance.mark("varn-data");
    const work = keptWork();
    let restored = false;
    if (work) {
        const r = engine.openVrn(work.vrn, work.fileName);
        if (r.messages.length) early.push([work.fileName, r.messages]);
        if (r.ok) restored = true;
        else engine.newCharacter();
    }
    const s = new Session(engine);
    performance.mark("varn-session");
    s.dataSet = dataSet;
    if (restored && work) {
        s.fileName = work.fileName;
        s.restoredDirty = work.modified;
    }
    root.textContent = "";
    render(<App s={s} />, root);
    for (const [title, lines] of early) s.tell(title, lines);
    performance.mark("varn-ready");
    document.documentElement.dataset.ready = "1";
    // What the first visit of a page would wait for, done while the person is idle.
    s.catalog.readAhead([
        (c) => c.races,
        skillTree,
        spellTree,
        equipmentTree,
        (c) => c.disciplines,
    ], s);
    if ("serviceWorker" in navigator && location.protocol !== "file:")
        void navigator.serviceWorker.register("sw.js").catch(() => {});
}

start().catch((e: unknown) => {
    document.getElementById("app")!.textContent = `VARN could not start: ${e instanceof Error ? e.message : String(e)}`;
});
