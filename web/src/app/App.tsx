import { Component, type JSX } from "preact";
import { useEffect, useRef, useState } from "preact/hooks";
import type { Session } from "./session";
import { download, pickFiles, readFiles, saveFile } from "./files";
import { CharacterPage } from "./pages/CharacterPage";
import { AttributesPage } from "./pages/AttributesPage";
import { DisciplinePage } from "./pages/DisciplinePage";
import { TalentsPage } from "./pages/TalentsPage";
import { SkillsPage } from "./pages/SkillsPage";
import { EquipmentPage } from "./pages/EquipmentPage";
import { GrimoirePage } from "./pages/GrimoirePage";
import { SystemPage } from "./pages/SystemPage";

type PageView = (p: { s: Session }) => JSX.Element;

const PAGES: [string, PageView][] = [
    ["Character", CharacterPage],
    ["Attributes", AttributesPage],
    ["Discipline", DisciplinePage],
    ["Talents", TalentsPage],
    ["Skills", SkillsPage],
    ["Equipment", EquipmentPage],
    ["Grimoire", GrimoirePage],
    ["System", SystemPage],
];

// A page once visited stays in the document, hidden while another is shown, so coming back to
// it costs no rebuilding. It repaints only when shown at a newer version than its last paint
// (a hidden page is not repainted for changes made elsewhere) or on its own state changes.
class KeptPage extends Component<{ view: PageView; s: Session; version: number }> {
    shouldComponentUpdate(next: { version: number }): boolean {
        return next.version !== this.props.version;
    }
    render(): JSX.Element {
        const View = this.props.view;
        return <View s={this.props.s} />;
    }
}

let catalogs = 0;
const catalogKeys = new WeakMap<object, number>();
// Pages start afresh with another data set (what they hold refers to the old one's entries).
const catalogKey = (c: object) => catalogKeys.get(c) ?? (catalogKeys.set(c, ++catalogs), catalogs);

type Answer = "yes" | "no" | "cancel";
interface Dialog {
    title: string;
    lines: string[];
    question?: boolean;
    done: (a: Answer) => void;
}

function isTextEntry(t: EventTarget | null): boolean {
    return (
        t instanceof HTMLTextAreaElement ||
        (t instanceof HTMLInputElement && (t.type === "text" || t.type === "search"))
    );
}

export function App({ s }: { s: Session }): JSX.Element {
    const [tick, setTick] = useState(0);
    // The version each visited page was last shown at.
    const shownAt = useRef(new Map<number, number>());
    const shownGeneration = useRef(0);
    const [page, setPage] = useState(0);
    const [dialogs, setDialogs] = useState<Dialog[]>([]);
    const dialogRef = useRef<HTMLDialogElement>(null);
    const tabs = useRef<(HTMLButtonElement | null)[]>([]);

    const show = (d: Omit<Dialog, "done">) =>
        new Promise<Answer>((resolve) =>
            setDialogs((q) => [
                ...q,
                {
                    ...d,
                    done: (a) => {
                        setDialogs((r) => r.slice(1));
                        resolve(a);
                    },
                },
            ]),
        );

    useEffect(() => s.onChange(() => setTick((t) => t + 1)), [s]);
    useEffect(() => s.onMessages((title, lines) => void show({ title, lines })), [s]);
    useEffect(() => {
        const d = dialogRef.current;
        if (d && dialogs.length && !d.open) d.showModal();
        if (d && !dialogs.length && d.open) d.close();
    });

    // Asks before the open character is replaced; false when the person cancels.
    const mayDiscard = async (): Promise<boolean> => {
        if (!s.modified) return true;
        const a = await show({ title: "VARN", lines: [`Save changes to ${s.baseName()}?`], question: true });
        if (a === "cancel") return false;
        return a === "no" || (await save(false));
    };
    const save = async (as: boolean): Promise<boolean> => {
        const r = await saveFile(s.fileName, s.vrnBytes(), as ? null : s.handle);
        if (r) s.saved(r.name, r.handle);
        return !!r;
    };
    const open = async () => {
        const [f] = await pickFiles(".vrn,.json");
        if (f && (await mayDiscard())) openPicked(f.name, f.bytes);
    };
    const openPicked = (name: string, bytes: Uint8Array) => {
        if (/\.json$/i.test(name)) s.importJson(new TextDecoder().decode(bytes), name);
        else s.openVrn(bytes, name);
    };
    const chooseData = async (folder: boolean) => {
        // A folder may hold other files beside the seven.
        const files = (await pickFiles(".dat", { multiple: true, folder })).filter((f) => /\.dat$/i.test(f.name));
        if (files.length) s.loadDataSet(files, true);
    };
    const print = () => {
        const frame = document.createElement("iframe");
        frame.className = "print-frame";
        frame.title = "Character sheet";
        frame.srcdoc = s.engine.htmlSheet();
        frame.onload = () => {
            frame.contentWindow?.print();
            setTimeout(() => frame.remove(), 1000);
        };
        document.body.append(frame);
    };

    const actions = {
        new: async () => (await mayDiscard()) && s.newCharacter(),
        open,
        save: () => void save(false),
        saveAs: () => void save(true),
        exportJson: () => download(`${s.baseName()}.json`, s.engine.exportJson(), "application/json"),
        exportText: () => download(`${s.baseName()}.txt`, s.engine.textSheet(), "text/plain"),
        print,
    };

    useEffect(() => {
        const key = (e: KeyboardEvent) => {
            const ctrl = e.ctrlKey || e.metaKey;
            const k = e.key.toLowerCase();
            if (ctrl && !e.altKey && !isTextEntry(e.target)) {
                if (k === "z" && !e.shiftKey) s.undo();
                else if ((k === "z" && e.shiftKey) || k === "y") s.redo();
                else return;
                e.preventDefault();
                return;
            }
            if (ctrl && !e.altKey) {
                const act: Record<string, () => unknown> = {
                    s: e.shiftKey ? actions.saveAs : actions.save,
                    o: actions.open,
                    p: actions.print,
                    f: () => document.querySelector<HTMLInputElement>("main > :not([hidden]) [data-find]")?.focus(),
                };
                if (act[k]) {
                    e.preventDefault();
                    void act[k]();
                }
            } else if (e.altKey && !ctrl && /^Digit[1-8]$/.test(e.code)) {
                e.preventDefault();
                setPage(Number(e.code.slice(5)) - 1);
            }
        };
        const leave = (e: BeforeUnloadEvent) => {
            if (!s.modified) return;
            e.preventDefault();
            e.returnValue = ""; // older browsers ask only when this is set
        };
        const over = (e: DragEvent) => e.preventDefault();
        const drop = (e: DragEvent) => {
            e.preventDefault();
            const list = e.dataTransfer?.files;
            if (list?.length)
                void readFiles([list[0]]).then(async ([f]) => {
                    if (await mayDiscard()) openPicked(f.name, f.bytes);
                });
        };
        window.addEventListener("keydown", key);
        window.addEventListener("beforeunload", leave);
        window.addEventListener("dragover", over);
        window.addEventListener("drop", drop);
        return () => {
            window.removeEventListener("keydown", key);
            window.removeEventListener("beforeunload", leave);
            window.removeEventListener("dragover", over);
            window.removeEventListener("drop", drop);
        };
    });

    const v = s.view;
    const title = `${s.fileName}${s.modified ? " *" : ""}`;
    useEffect(() => {
        document.title = `${title} - VARN`;
    });
    const generation = catalogKey(s.catalog);
    // The pages not visited yet are put together, hidden, one per idle moment after start, so
    // that a first visit only shows what is already there.
    const [, setWarmed] = useState(0);
    useEffect(() => {
        let cancelled = false;
        const idle = (f: () => void) =>
            "requestIdleCallback" in window ? requestIdleCallback(f, { timeout: 3000 }) : setTimeout(f, 100);
        const next = () => {
            if (cancelled || shownGeneration.current !== generation) return;
            const i = PAGES.findIndex((_, n) => !shownAt.current.has(n));
            if (i < 0) return;
            shownAt.current.set(i, tick);
            setWarmed((w) => w + 1);
            idle(next);
        };
        idle(next);
        return () => {
            cancelled = true;
        };
    }, [generation]);
    if (generation !== shownGeneration.current) {
        shownAt.current.clear();
        shownGeneration.current = generation;
    }
    shownAt.current.set(page, tick);
    const d = dialogs[0];
    const tabKey = (e: KeyboardEvent) => {
        const step = e.key === "ArrowRight" ? 1 : e.key === "ArrowLeft" ? -1 : 0;
        if (!step) return;
        const next = (page + step + PAGES.length) % PAGES.length;
        setPage(next);
        tabs.current[next]?.focus();
    };
    return (
        <>
            <header class="toolbar" role="toolbar" aria-label="File and edit">
                <h1 class="doc-title">{title}</h1>
                <button type="button" onClick={() => void actions.new()}>New</button>
                <button type="button" onClick={() => void actions.open()} title="Open a .vrn or .json character (Ctrl+O)">Open</button>
                <button type="button" onClick={actions.save} title="Ctrl+S">Save</button>
                <button type="button" onClick={actions.saveAs}>Save As</button>
                <button type="button" onClick={actions.exportJson}>Export JSON</button>
                <button type="button" onClick={actions.exportText}>Export Text</button>
                <button type="button" onClick={actions.print} title="Ctrl+P">Print</button>
                <button type="button" disabled={!v.undoText} title={v.undoText || "Undo"} aria-label={v.undoText || "Undo"} onClick={() => s.undo()}>
                    ↶
                </button>
                <button type="button" disabled={!v.redoText} title={v.redoText || "Redo"} aria-label={v.redoText || "Redo"} onClick={() => s.redo()}>
                    ↷
                </button>
                <details class="data-menu">
                    <summary>Data set</summary>
                    <div>
                        <button type="button" onClick={() => void chooseData(false)}>Choose the seven files…</button>
                        <button type="button" onClick={() => void chooseData(true)}>Choose a folder…</button>
                        <button type="button" onClick={() => void s.useShippedData()}>Use the shipped data set</button>
                    </div>
                </details>
            </header>
            <nav class="tabs" role="tablist" aria-label="Pages" onKeyDown={tabKey}>
                {PAGES.map(([name], i) => (
                    <button
                        key={name}
                        ref={(el) => { tabs.current[i] = el; }}
                        type="button"
                        role="tab"
                        id={`tab-${i}`}
                        aria-selected={i === page}
                        aria-controls="page"
                        tabIndex={i === page ? 0 : -1}
                        onClick={() => setPage(i)}
                        title={`Alt+${i + 1}`}
                    >
                        {name}
                    </button>
                ))}
            </nav>
            <main id="page" role="tabpanel" aria-labelledby={`tab-${page}`}>
                {PAGES.map(([name, view], i) => {
                    const version = shownAt.current.get(i);
                    return version === undefined ? null : (
                        <div key={`${name}:${generation}`} hidden={i !== page}>
                            <KeptPage view={view} s={s} version={version} />
                        </div>
                    );
                })}
            </main>
            <dialog ref={dialogRef} aria-labelledby="dialog-title" onCancel={(e) => { e.preventDefault(); d?.done("cancel"); }}>
                {d && (
                    <form method="dialog" onSubmit={(e) => e.preventDefault()}>
                        <h2 id="dialog-title">{d.title}</h2>
                        {d.lines.map((l, i) => (
                            <p key={i} class="pre">{l}</p>
                        ))}
                        <div class="buttons">
                            {d.question ? (
                                <>
                                    <button type="button" onClick={() => d.done("yes")}>Yes</button>
                                    <button type="button" onClick={() => d.done("no")}>No</button>
                                    <button type="button" onClick={() => d.done("cancel")}>Cancel</button>
                                </>
                            ) : (
                                <button type="button" autoFocus onClick={() => d.done("yes")}>OK</button>
                            )}
                        </div>
                    </form>
                )}
            </dialog>
        </>
    );
}
