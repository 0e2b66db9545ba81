// The page's one door to the engine: loads the WebAssembly module, parses the JSON the engine
// answers with and hands the page typed results. No rule is computed here.
import type {
    ApplyResult,
    Catalog,
    CharacterView,
    LoadResult,
    OpenResult,
    Operation,
    RawEngine,
    VarnModule,
} from "../engine/varn-engine";

export interface DataFile {
    name: string;
    bytes: Uint8Array;
}

export class EngineClient {
    private constructor(private readonly raw: RawEngine) {}

    static async create(moduleUrl: string): Promise<EngineClient> {
        const mod = (await import(/* @vite-ignore */ moduleUrl)) as {
            default: (o?: object) => Promise<VarnModule>;
        };
        const varn = await mod.default();
        return new EngineClient(new varn.Engine());
    }

    loadDataSet(files: DataFile[]): LoadResult {
        return JSON.parse(
            this.raw.loadDataSet(
                JSON.stringify(files.map((f) => f.name)),
                files.map((f) => f.bytes),
            ),
        ) as LoadResult;
    }
    catalog(): Catalog {
        return JSON.parse(this.raw.catalog()) as Catalog;
    }
    newCharacter(): void {
        this.raw.newCharacter();
    }
    openVrn(bytes: Uint8Array, name: string): OpenResult {
        return JSON.parse(this.raw.openVrn(bytes, name)) as OpenResult;
    }
    saveVrn(): Uint8Array {
        // Copy out of the module's memory: a later call may move it.
        return new Uint8Array(this.raw.saveVrn());
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
    apply(op: Operation): ApplyResult {
        return JSON.parse(this.raw.apply(JSON.stringify(op))) as ApplyResult;
    }
    undo(): boolean {
        return this.raw.undo();
    }
    redo(): boolean {
        return this.raw.redo();
    }
    markSaved(): void {
        this.raw.markSaved();
    }
}
