// The open character and everything the page knows about it: the engine, the data set's
// catalog, the latest view, the file it came from. Pages read `view` and send operations.
import type {
    BriefCatalog,
    CharacterView,
    EntryKinds,
    Operation,
    ViewHeader,
    ViewPartName,
} from "../engine/varn-engine";
import type { DataFile, VarnEngine } from "./engineClient";
import { keepDataSet, keepWork } from "./storage";
import type { SaveHandle } from "./files";

// The character's view, read part by part as pages ask for it: after a change only the shown
// page's part is built. A part that comes back unchanged keeps its object, so what depends on
// it need not be redone.
export class LiveView implements CharacterView {
    private parts = new Map<string, { json: string; value: unknown; fresh: boolean }>();

    constructor(private readonly engine: VarnEngine) {}

    stale(): void {
        for (const p of this.parts.values()) p.fresh = false;
    }

    private part<T>(name: "header" | ViewPartName): T {
        let p = this.parts.get(name);
        if (!p?.fresh) {
            const json = this.engine.viewPartText(name);
            if (p && p.json === json) p.fresh = true;
            else this.parts.set(name, (p = { json, value: JSON.parse(json), fresh: true }));
        }
        return p.value as T;
    }

    get modified(): boolean {
        return this.part<ViewHeader>("header").modified;
    }
    get undoText(): string {
        return this.part<ViewHeader>("header").undoText;
    }
    get redoText(): string {
        return this.part<ViewHeader>("header").redoText;
    }
    get character(): CharacterView["character"] {
        return this.part("character");
    }
    get attributes(): CharacterView["attributes"] {
        return this.part("attributes");
    }
    get disciplines(): CharacterView["disciplines"] {
        return this.part("disciplines");
    }
    get talents(): CharacterView["talents"] {
        return this.part("talents");
    }
    get skills(): CharacterView["skills"] {
        return this.part("skills");
    }
    get spells(): CharacterView["spells"] {
        return this.part("spells");
    }
    get equipment(): CharacterView["equipment"] {
        return this.part("equipment");
    }
    get system(): CharacterView["system"] {
        return this.part("system");
    }
}

// The data set's lists, each read from the engine when a page first needs it, and single
// entries with all their texts (descriptions are long: lists do not carry them).
export class LiveCatalog implements BriefCatalog {
    private lists = new Map<keyof BriefCatalog, unknown>();
    private entries = new Map<string, unknown>();

    constructor(private readonly engine: VarnEngine) {}

    private list<P extends keyof BriefCatalog>(part: P): BriefCatalog[P] {
        let l = this.lists.get(part) as BriefCatalog[P] | undefined;
        if (!l) this.lists.set(part, (l = this.engine.catalogPart(part)));
        return l;
    }
    get races(): BriefCatalog["races"] {
        return this.list("races");
    }
    get disciplines(): BriefCatalog["disciplines"] {
        return this.list("disciplines");
    }
    get talents(): BriefCatalog["talents"] {
        return this.list("talents");
    }
    get skills(): BriefCatalog["skills"] {
        return this.list("skills");
    }
    get spells(): BriefCatalog["spells"] {
        return this.list("spells");
    }
    get equipment(): BriefCatalog["equipment"] {
        return this.list("equipment");
    }

    // Runs the steps given (reading a list, building a tree from it), one per idle moment, so
    // that a page's first visit does not wait for them. A step of an older catalog is skipped.
    readAhead(steps: ((c: LiveCatalog) => unknown)[], session: { catalog: LiveCatalog }): void {
        const idle = (f: () => void) =>
            "requestIdleCallback" in window ? requestIdleCallback(f, { timeout: 2000 }) : setTimeout(f, 50);
        const next = () => {
            const step = steps.shift();
            if (!step || session.catalog !== this) return;
            step(this);
            idle(next);
        };
        idle(next);
    }

    entry<K extends keyof EntryKinds>(kind: K, name: string | null | undefined): EntryKinds[K] | undefined {
        if (!name) return undefined;
        const key = `${kind}\u0000${name}`;
        if (!this.entries.has(key)) this.entries.set(key, this.engine.entry(kind, name));
        return (this.entries.get(key) ?? undefined) as EntryKinds[K] | undefined;
    }
}

export class Session {
    // A new one with each data set; its lists are read when a page first needs them.
    catalog: LiveCatalog;
    readonly view: LiveView;
    fileName = "Untitled.vrn";
    handle: SaveHandle | null = null;
    // Work brought back from browser storage counts as unsaved until saved, even though the
    // engine read it fresh.
    restoredDirty = false;
    // The files of the data set in use (null until one is chosen after start-up).
    dataSet: DataFile[] | null = null;
    private listeners = new Set<() => void>();
    private messageSink: (title: string, lines: string[]) => void = () => {};

    constructor(readonly engine: VarnEngine) {
        this.view = new LiveView(engine);
        this.catalog = new LiveCatalog(engine);
    }

    get modified(): boolean {
        return this.view.modified || this.restoredDirty;
    }

    onChange(f: () => void): () => void {
        this.listeners.add(f);
        return () => this.listeners.delete(f);
    }
    onMessages(f: (title: string, lines: string[]) => void): void {
        this.messageSink = f;
    }
    tell(title: string, lines: string[]): void {
        if (lines.length) this.messageSink(title, lines);
    }

    // Re-reads the view, keeps the work in browser storage and repaints.
    refresh(): void {
        this.view.stale();
        keepWork({ fileName: this.fileName, vrn: this.vrnBytes(), modified: this.modified });
        for (const f of this.listeners) f();
    }

    apply(op: Operation): boolean {
        const r = this.engine.apply(op);
        if (!r.ok && r.message) this.tell("VARN", [r.message]);
        this.refresh();
        return r.ok;
    }
    undo(): void {
        if (this.engine.undo()) this.refresh();
    }
    redo(): void {
        if (this.engine.redo()) this.refresh();
    }

    newCharacter(): void {
        this.engine.newCharacter();
        this.fileName = "Untitled.vrn";
        this.handle = null;
        this.restoredDirty = false;
        this.refresh();
    }

    openVrn(bytes: Uint8Array, name: string, handle: SaveHandle | null = null): boolean {
        const r = this.engine.openVrn(bytes, name);
        this.tell(name, r.messages);
        if (!r.ok) return false;
        this.fileName = name;
        this.handle = handle;
        this.restoredDirty = false;
        this.refresh();
        return true;
    }

    importJson(text: string, name: string): boolean {
        const r = this.engine.importJson(text);
        this.tell(name, [...r.messages, ...(r.warnings ?? [])]);
        if (!r.ok) return false;
        this.fileName = name.replace(/\.json$/i, "") + ".vrn";
        this.handle = null;
        this.restoredDirty = false;
        this.refresh();
        return true;
    }

    saved(name: string, handle: SaveHandle | null): void {
        this.engine.markSaved();
        this.fileName = name;
        this.handle = handle;
        this.restoredDirty = false;
        this.refresh();
    }

    // Loads another data set; on success the open character is read again against it. When it
    // cannot be (its race or discipline is missing there), the data set it came with is put
    // back, so the character is never lost to a change of data set.
    loadDataSet(files: DataFile[], remember: boolean): boolean {
        const keep = this.vrnBytes();
        const dirty = this.modified;
        const r = this.engine.loadDataSet(files);
        this.tell("Data set", r.messages);
        if (!r.ok) return false;
        const again = this.engine.openVrn(keep, this.fileName);
        this.tell(this.fileName, again.messages);
        if (!again.ok && this.dataSet) {
            this.engine.loadDataSet(this.dataSet);
            this.engine.openVrn(keep, this.fileName);
        } else {
            this.dataSet = files;
            void keepDataSet(remember ? files : null);
        }
        this.catalog = new LiveCatalog(this.engine);
        this.restoredDirty = dirty;
        this.refresh();
        return again.ok;
    }

    // The data set that comes with the page (the build lists its files in data/index.json).
    async useShippedData(): Promise<boolean> {
        return this.loadDataSet(await shippedDataSet(), false);
    }

    // A copy: the engine's array may live in the module's memory.
    vrnBytes(): Uint8Array {
        return new Uint8Array(this.engine.saveVrn());
    }

    baseName(): string {
        return this.fileName.replace(/\.[^.]*$/, "");
    }
}

export async function shippedDataSet(): Promise<DataFile[]> {
    const names = (await (await fetch("data/index.json")).json()) as string[];
    return Promise.all(
        names.map(async (name) => ({
            name,
            bytes: new Uint8Array(await (await fetch(`data/${encodeURIComponent(name)}`)).arrayBuffer()),
        })),
    );
}
