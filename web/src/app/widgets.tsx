// Small controls shared by the pages: numbers applied once per commit, a find field, a
// collapsible tree that renders only what is open, and an information panel.
import { useEffect, useLayoutEffect, useRef, useState } from "preact/hooks";
import type { ComponentChildren, JSX } from "preact";

let nextId = 0;
export function useId(prefix: string): string {
    const ref = useRef("");
    if (!ref.current) ref.current = `${prefix}-${++nextId}`;
    return ref.current;
}

// A number box: typing is applied on Enter or on leaving the box, each arrow step at once.
// After a commit it shows what the engine kept, so a refused or clamped number springs back.
export function NumField(props: {
    label: string;
    value: number;
    min?: number;
    max?: number;
    disabled?: boolean;
    hideLabel?: boolean;
    onCommit: (v: number) => void;
}): JSX.Element {
    const input = useRef<HTMLInputElement>(null);
    const editing = useRef(false);
    const id = useId("num");
    useLayoutEffect(() => {
        if (input.current && !editing.current) input.current.value = String(props.value);
    });
    return (
        <span class="field">
            <label for={id} class={props.hideLabel ? "sr-only" : undefined}>
                {props.label}
            </label>
            <input
                id={id}
                ref={input}
                type="number"
                inputMode="numeric"
                min={props.min}
                max={props.max}
                disabled={props.disabled}
                onInput={() => (editing.current = true)}
                onChange={(e) => {
                    editing.current = false;
                    const el = e.currentTarget;
                    const v = Number(el.value);
                    if (el.value.trim() === "" || !Number.isFinite(v)) el.value = String(props.value);
                    else {
                        props.onCommit(Math.trunc(v));
                        el.value = String(props.value);
                    }
                }}
            />
        </span>
    );
}

// A text box or area applied once per visit of the field (one undo step).
export function TextField(props: {
    label: string;
    value: string;
    multiline?: boolean;
    onCommit: (v: string) => void;
}): JSX.Element {
    const id = useId("text");
    const ref = useRef<HTMLInputElement & HTMLTextAreaElement>(null);
    const editing = useRef(false);
    useLayoutEffect(() => {
        if (ref.current && !editing.current && ref.current.value !== props.value) ref.current.value = props.value;
    });
    const common = {
        id,
        ref,
        onInput: () => (editing.current = true),
        onChange: (e: Event) => {
            editing.current = false;
            const v = (e.currentTarget as HTMLInputElement).value;
            if (v !== props.value) props.onCommit(v);
        },
    };
    return (
        <div class={props.multiline ? "field column grow" : "field"}>
            <label for={id}>{props.label}</label>
            {props.multiline ? <textarea {...common} rows={8} /> : <input type="text" {...common} />}
        </div>
    );
}

export function Find(props: { label: string; value: string; onInput: (v: string) => void }): JSX.Element {
    return (
        <input
            type="search"
            class="find"
            placeholder="Find (Ctrl+F)"
            aria-label={props.label}
            data-find
            value={props.value}
            onInput={(e) => props.onInput(e.currentTarget.value)}
            onKeyDown={(e) => {
                if (e.key === "Escape") props.onInput("");
            }}
        />
    );
}

export function matches(find: string): (name: string) => boolean {
    const wanted = find.toLocaleLowerCase();
    return wanted ? (name) => name.toLocaleLowerCase().includes(wanted) : () => true;
}

export interface TreeNode {
    key: string;
    label: string;
    children?: TreeNode[];
}

// A description as the element's tip, read only when the pointer or the focus comes to it:
// long lists do not carry their entries' descriptions.
export function tipOnDemand(get: () => string | undefined): {
    onPointerEnter: (e: Event) => void;
    onFocus: (e: Event) => void;
} {
    const put = (e: Event) => {
        const el = e.currentTarget as HTMLElement;
        if (!el.title) el.title = get() ?? "";
    };
    return { onPointerEnter: put, onFocus: put };
}

// The find field's text and the tree cut down to what it matches.
export function useFind(nodes: TreeNode[]): [string, (v: string) => void, TreeNode[]] {
    const [find, setFind] = useState("");
    const keep = matches(find);
    return [find, setFind, find ? filterTree(nodes, (n) => keep(n.label)) : nodes];
}

// Drops the leaves that do not match and the branches left empty.
export function filterTree(nodes: TreeNode[], keep: (n: TreeNode) => boolean): TreeNode[] {
    const out: TreeNode[] = [];
    for (const n of nodes) {
        if (n.children) {
            const c = filterTree(n.children, keep);
            if (c.length) out.push({ ...n, children: c });
        } else if (keep(n)) out.push(n);
    }
    return out;
}

const SLICE = 120;

// Branches are native disclosure widgets (keyboard and screen readers know them); a branch's
// children are built only while it is open, so a very large data set stays quick.
export function Tree(props: {
    label: string;
    nodes: TreeNode[];
    selected: string | null;
    allOpen?: boolean;
    onSelect: (key: string) => void;
    onActivate?: (key: string) => void;
    tip?: (key: string) => string | undefined;
}): JSX.Element {
    const [open, setOpen] = useState<Set<string>>(() => new Set());
    // A very long first level is shown in slices, one per task, so the page paints at once.
    const [limit, setLimit] = useState(SLICE);
    useEffect(() => {
        if (limit >= props.nodes.length) return;
        const t = setTimeout(() => setLimit((l) => l + SLICE), 0);
        return () => clearTimeout(t);
    }, [limit, props.nodes.length]);
    const branch = (nodes: TreeNode[]): ComponentChildren =>
        nodes.map((n) =>
            n.children ? (
                <li key={n.key}>
                    <details
                        open={props.allOpen || open.has(n.key)}
                        onToggle={(e) => {
                            const isOpen = e.currentTarget.open;
                            if (isOpen === open.has(n.key) || props.allOpen) return;
                            const next = new Set(open);
                            if (isOpen) next.add(n.key);
                            else next.delete(n.key);
                            setOpen(next);
                        }}
                    >
                        <summary>{n.label}</summary>
                        {(props.allOpen || open.has(n.key)) && <ul>{branch(n.children)}</ul>}
                    </details>
                </li>
            ) : (
                <li key={n.key}>
                    <button
                        type="button"
                        class="leaf"
                        aria-pressed={props.selected === n.key}
                        {...(props.tip && tipOnDemand(() => props.tip?.(n.key)))}
                        onClick={() => props.onSelect(n.key)}
                        onDblClick={() => props.onActivate?.(n.key)}
                    >
                        {n.label}
                    </button>
                </li>
            ),
        );
    return (
        <ul class="tree" aria-label={props.label}>
            {branch(props.nodes.length > limit ? props.nodes.slice(0, limit) : props.nodes)}
        </ul>
    );
}

const WINDOW_FROM = 300;
const AROUND = 20;

// A plain list that, once long, holds in the document only the rows in sight and a few around
// them: spacers above and below keep the scroll bar true. A large data set's lists have
// thousands of rows, which would otherwise be laid out again after every change.
export function LongList<T>(props: {
    label: string;
    items: T[];
    itemKey: (item: T) => string;
    render: (item: T) => ComponentChildren;
}): JSX.Element {
    const ref = useRef<HTMLUListElement>(null);
    const [scroll, setScroll] = useState(0);
    const [rowHeight, setRowHeight] = useState(0);
    const n = props.items.length;
    const long = n > WINDOW_FROM;
    useLayoutEffect(() => {
        const row = ref.current?.querySelector<HTMLElement>("li[data-row]");
        if (long && row && !rowHeight && row.offsetHeight) setRowHeight(row.offsetHeight);
    });
    const h = rowHeight || 24;
    let start = 0;
    let end = n;
    if (long) {
        const inSight = Math.ceil((ref.current?.clientHeight || 600) / h);
        start = Math.max(0, Math.floor(scroll / h) - AROUND);
        end = Math.min(n, start + inSight + 2 * AROUND);
    }
    return (
        <ul
            class="list"
            aria-label={props.label}
            ref={ref}
            onScroll={long ? (e) => setScroll(e.currentTarget.scrollTop) : undefined}
        >
            {start > 0 && <li key="above" aria-hidden="true" style={{ height: `${start * h}px` }} />}
            {props.items.slice(start, end).map((item) => (
                <li key={props.itemKey(item)} data-row>
                    {props.render(item)}
                </li>
            ))}
            {end < n && <li key="below" aria-hidden="true" style={{ height: `${(n - end) * h}px` }} />}
        </ul>
    );
}

export function Group(props: { title: string; class?: string; children: ComponentChildren }): JSX.Element {
    const id = useId("group");
    return (
        <section class={`group ${props.class ?? ""}`} aria-labelledby={id}>
            <h2 id={id}>{props.title}</h2>
            {props.children}
        </section>
    );
}

// A list with its find field above it, under a heading.
export function FindGroup(props: {
    title: string;
    findLabel: string;
    find: string;
    onFind: (v: string) => void;
    children: ComponentChildren;
}): JSX.Element {
    return (
        <Group title={props.title} class="grow">
            <Find label={props.findLabel} value={props.find} onInput={props.onFind} />
            {props.children}
        </Group>
    );
}

// A tree under a heading with a find field above it; while something is to be found the
// branches holding it stand open.
export function FindTree(props: {
    title: string;
    findLabel: string;
    nodes: TreeNode[];
    selected: string | null;
    onSelect: (key: string) => void;
    onActivate?: (key: string) => void;
    tip?: (key: string) => string | undefined;
    allOpen?: boolean;
}): JSX.Element {
    const [find, setFind, shown] = useFind(props.nodes);
    return (
        <FindGroup title={props.title} findLabel={props.findLabel} find={find} onFind={setFind}>
            <Tree
                label={props.title}
                nodes={shown}
                allOpen={props.allOpen || !!find}
                selected={props.selected}
                onSelect={props.onSelect}
                onActivate={props.onActivate}
                tip={props.tip}
            />
        </FindGroup>
    );
}

// A table of the character's entries: column headings, then one row each, headed by the
// entry's name as a button that chooses it.
export function Grid(props: { caption: string; columns: string[]; children: ComponentChildren }): JSX.Element {
    return (
        <div class="table-wrap">
            <table class="grid">
                <caption class="sr-only">{props.caption}</caption>
                <thead>
                    <tr>
                        {props.columns.map((c) => (
                            <th key={c} scope="col">
                                {c}
                            </th>
                        ))}
                    </tr>
                </thead>
                <tbody>{props.children}</tbody>
            </table>
        </div>
    );
}

export function RowName(props: {
    name: string;
    chosen: boolean;
    onChoose: () => void;
    tip?: () => string | undefined;
}): JSX.Element {
    return (
        <th scope="row">
            <button
                type="button"
                class="leaf"
                aria-pressed={props.chosen}
                {...(props.tip && tipOnDemand(props.tip))}
                onClick={props.onChoose}
            >
                {props.name}
            </button>
        </th>
    );
}

// The chosen entry's figures and its text, under a heading; `children` follow the text.
export function InfoGroup(props: {
    title: string;
    rows: [string, string | number][];
    textLabel: string;
    text: ComponentChildren;
    children?: ComponentChildren;
}): JSX.Element {
    return (
        <Group title={props.title}>
            <Pairs rows={props.rows} />
            <div class="text-box pre" tabIndex={0} role="region" aria-label={props.textLabel}>
                {props.text}
            </div>
            {props.children}
        </Group>
    );
}

export const yesNo = <T,>(entry: T | undefined, key: keyof T): string =>
    entry ? (entry[key] ? "Yes" : "No") : "";

export function Warning(props: { text: string }): JSX.Element | null {
    if (!props.text) return null;
    return (
        <p class="warning" role="status">
            <span aria-hidden="true">⚠ </span>
            {props.text}
        </p>
    );
}

export function Mark(props: { on: boolean }): JSX.Element | null {
    return props.on ? (
        <span class="mark" role="img" aria-label="warning" title="warning">
            ⚠
        </span>
    ) : null;
}

export function Pairs(props: { rows: [string, string | number][] }): JSX.Element {
    return (
        <dl class="pairs">
            {props.rows.map(([k, v], i) => (
                <div key={i}>
                    <dt>{k}</dt>
                    <dd>{v}</dd>
                </div>
            ))}
        </dl>
    );
}

// Order of names in lists and trees: case folded, as the desktop's lists sort.
// The same order for a long list: each name folded once rather than at every comparison.
export function sortedCaseless<T>(list: readonly T[], name: (item: T) => string): T[] {
    return list
        .map((item) => ({ item, key: name(item).toLowerCase() }))
        .sort((a, b) => (a.key < b.key ? -1 : a.key > b.key ? 1 : 0))
        .map((x) => x.item);
}

export function caseless(a: string, b: string): number {
    const x = a.toLowerCase();
    const y = b.toLowerCase();
    return x < y ? -1 : x > y ? 1 : 0;
}

// Builds something from the data set's catalog once per catalog (pages mount and unmount as
// the person moves between them; a large data set makes rebuilding on each visit show).
export function perCatalog<C extends object, T>(build: (c: C) => T): (c: C) => T {
    const made = new WeakMap<C, T>();
    return (c) => {
        let v = made.get(c);
        if (v === undefined) made.set(c, (v = build(c)));
        return v;
    };
}
