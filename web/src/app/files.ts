// Reading and writing files the browser's way: pickers, drops, downloads and, where the
// browser has it, the File System Access API (so Save writes back to the file it opened).

export interface PickedFile {
    name: string;
    bytes: Uint8Array;
    handle?: FileSystemFileHandle;
}

interface SaveHandle {
    createWritable(): Promise<{ write(d: BlobPart): Promise<void>; close(): Promise<void> }>;
    name: string;
}

type PickerWindow = Window & {
    showSaveFilePicker?: (o: object) => Promise<SaveHandle>;
};

export async function readFiles(list: FileList | File[]): Promise<PickedFile[]> {
    const out: PickedFile[] = [];
    for (const f of Array.from(list))
        out.push({ name: f.name, bytes: new Uint8Array(await f.arrayBuffer()) });
    return out;
}

// Opens the browser's file picker; resolves with nothing when the person cancels.
export function pickFiles(accept: string, opts: { multiple?: boolean; folder?: boolean } = {}): Promise<PickedFile[]> {
    return new Promise((resolve) => {
        const input = document.createElement("input");
        input.type = "file";
        input.accept = accept;
        input.multiple = !!opts.multiple;
        if (opts.folder) input.webkitdirectory = true;
        input.addEventListener("change", () => void readFiles(input.files ?? []).then(resolve));
        input.addEventListener("cancel", () => resolve([]));
        input.click();
    });
}

export function download(name: string, data: BlobPart, type: string): void {
    const url = URL.createObjectURL(new Blob([data], { type }));
    const a = document.createElement("a");
    a.href = url;
    a.download = name;
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
}

// Saves through the system's save dialog where the browser offers one, else as a download.
// Returns the handle to write to next time, null when the person cancelled.
export async function saveFile(
    name: string,
    data: Uint8Array,
    handle: SaveHandle | null,
): Promise<{ handle: SaveHandle | null; name: string } | null> {
    const w = window as PickerWindow;
    if (!handle && w.showSaveFilePicker) {
        try {
            handle = await w.showSaveFilePicker({
                suggestedName: name,
                types: [{ description: "VARN character", accept: { "application/x-varn": [".vrn"] } }],
            });
        } catch {
            return null;
        }
    }
    if (handle) {
        const out = await handle.createWritable();
        await out.write(data.slice().buffer);
        await out.close();
        return { handle, name: handle.name };
    }
    download(name, data.slice().buffer, "application/octet-stream");
    return { handle: null, name };
}

export type { SaveHandle };
