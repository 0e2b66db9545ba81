// The open character and everything the page knows about it: the engine, the data set's
// catalog, the latest view, the file it came from. Pages read `view` and send operations.
import type { Catalog, CharacterView, Operation } from "../engine/varn-engine";
import type { DataFile, VarnEngine } from "./engineClient";
import { keepDataSet, keepWork } from "./storage";
import type { SaveHandle } from "./files";

export class Session {
    // Read from the engine when a page first needs it (the Character page does not), so the
    // first page is editable sooner with a large data set.
    private cachedCatalog: Catalog | null = null;
    view: CharacterView;
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
        this.view = engine.view();
    }

    get catalog(): Catalog {
        return (this.cachedCatalog ??= this.engine.catalog());
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
        this.view = this.engine.view();
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
        this.cachedCatalog = null;
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
