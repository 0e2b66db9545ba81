// What the browser keeps between visits: the unsaved character (localStorage, written at once
// so a crash right after a change keeps it) and the chosen data set (IndexedDB: it can be large).
import type { DataFile } from "./engineClient";

const WORK_KEY = "varn.work";

export interface SavedWork {
    fileName: string;
    vrn: Uint8Array;
    modified: boolean;
}

function toBase64(bytes: Uint8Array): string {
    let s = "";
    for (let i = 0; i < bytes.length; i += 0x8000)
        s += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(s);
}

function fromBase64(text: string): Uint8Array {
    const s = atob(text);
    const out = new Uint8Array(s.length);
    for (let i = 0; i < s.length; i++) out[i] = s.charCodeAt(i);
    return out;
}

export function keepWork(work: SavedWork): void {
    try {
        localStorage.setItem(
            WORK_KEY,
            JSON.stringify({ fileName: work.fileName, modified: work.modified, vrn: toBase64(work.vrn) }),
        );
    } catch {
        // Storage full or refused (private mode): the page still works, only without recovery.
    }
}

export function keptWork(): SavedWork | null {
    try {
        const raw = localStorage.getItem(WORK_KEY);
        if (!raw) return null;
        const o = JSON.parse(raw) as { fileName: string; modified: boolean; vrn: string };
        return { fileName: o.fileName, modified: o.modified, vrn: fromBase64(o.vrn) };
    } catch {
        return null;
    }
}

function openDb(): Promise<IDBDatabase> {
    return new Promise((resolve, reject) => {
        const req = indexedDB.open("varn", 1);
        req.onupgradeneeded = () => req.result.createObjectStore("kv");
        req.onsuccess = () => resolve(req.result);
        req.onerror = () => reject(req.error);
    });
}

async function idb<T>(mode: IDBTransactionMode, run: (s: IDBObjectStore) => IDBRequest): Promise<T> {
    const db = await openDb();
    try {
        return await new Promise<T>((resolve, reject) => {
            const req = run(db.transaction("kv", mode).objectStore("kv"));
            req.onsuccess = () => resolve(req.result as T);
            req.onerror = () => reject(req.error);
        });
    } finally {
        db.close();
    }
}

export async function keepDataSet(files: DataFile[] | null): Promise<void> {
    try {
        await idb("readwrite", (s) => (files ? s.put(files, "dataSet") : s.delete("dataSet")));
    } catch {
        // Without IndexedDB the choice lasts for this visit only.
    }
}

export async function keptDataSet(): Promise<DataFile[] | null> {
    try {
        return (await idb<DataFile[] | undefined>("readonly", (s) => s.get("dataSet"))) ?? null;
    } catch {
        return null;
    }
}
