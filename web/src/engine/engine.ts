// A typed face over the raw engine: JSON strings in and out become the types of
// varn-engine.d.ts. Holds no rule; every figure and text comes from the engine.

import type {
    ApplyResult,
    BriefCatalog,
    Catalog,
    CharacterView,
    EntryKinds,
    EquipmentCategory,
    LoadResult,
    OpenResult,
    Operation,
    RawEngine,
    VarnModule,
    ViewPartName,
} from "./varn-engine";

export interface DataFile {
    name: string;
    bytes: Uint8Array;
}

export class VarnEngine {
    private readonly raw: RawEngine;

    constructor(module: VarnModule) {
        this.raw = new module.Engine();
    }

    loadDataSet(files: DataFile[]): LoadResult {
        const result = this.raw.loadDataSet(
            files.map((f) => f.name),
            files.map((f) => f.bytes),
        );
        return JSON.parse(result) as LoadResult;
    }
    catalog(): Catalog {
        return JSON.parse(this.raw.catalog()) as Catalog;
    }
    catalogPart<P extends keyof BriefCatalog>(part: P): BriefCatalog[P] {
        return JSON.parse(this.raw.catalogPart(part)) as BriefCatalog[P];
    }
    entry<K extends keyof EntryKinds>(kind: K, name: string): EntryKinds[K] | null {
        return JSON.parse(this.raw.entry(kind, name)) as EntryKinds[K] | null;
    }
    itemDetails(category: EquipmentCategory, item: string): [string, string][] {
        return JSON.parse(this.raw.itemDetails(category, item)) as [string, string][];
    }
    threadWeavingWarning(type: string): string {
        return this.raw.threadWeavingWarning(type);
    }
    newCharacter(): void {
        this.raw.newCharacter();
    }
    openVrn(bytes: Uint8Array, fileName: string): OpenResult {
        return JSON.parse(this.raw.openVrn(bytes, fileName)) as OpenResult;
    }
    saveVrn(): Uint8Array {
        return this.raw.saveVrn();
    }
    importJson(text: string): OpenResult {
        return JSON.parse(this.raw.importJson(text)) as OpenResult;
    }
    exportJson(): string {
        return this.raw.exportJson();
    }
    textSheet(): string {
        return this.raw.textSheet();
    }
    htmlSheet(): string {
        return this.raw.htmlSheet();
    }
    view(): CharacterView {
        return JSON.parse(this.raw.view()) as CharacterView;
    }
    // The JSON text of one part of the view, to be compared with the last one before parsing.
    viewPartText(part: "header" | ViewPartName): string {
        return this.raw.viewPart(part);
    }
    apply(op: Operation): ApplyResult {
        return JSON.parse(this.raw.apply(JSON.stringify(op))) as ApplyResult;
    }
    undo(): boolean {
        return this.raw.undo();
    }
    redo(): boolean {
        return this.raw.redo();
    }
    undoText(): string {
        return this.raw.undoText();
    }
    redoText(): string {
        return this.raw.redoText();
    }
    isModified(): boolean {
        return this.raw.isModified();
    }
    markSaved(): void {
        this.raw.markSaved();
    }
    dispose(): void {
        this.raw.delete();
    }
}
