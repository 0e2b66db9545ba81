// Loads the WebAssembly engine: the module sits beside the page in engine/ and fetches its
// .wasm from there.
import { VarnEngine } from "../engine/engine";
import type { VarnModule } from "../engine/varn-engine";

export type { DataFile } from "../engine/engine";
export { VarnEngine };

export async function loadEngine(moduleUrl: string): Promise<VarnEngine> {
    const mod = (await import(moduleUrl)) as { default: () => Promise<VarnModule> };
    return new VarnEngine(await mod.default());
}
