import type { JSX } from "preact";
import { useState } from "preact/hooks";
import type { BriefCatalog, EquipmentCategory } from "../../engine/varn-engine";
import type { Session } from "../session";
import { Find, FindTree, Group, NumField, Pairs, Tree, type TreeNode, Warning, caseless, perCatalog, useFind } from "../widgets";

const CATEGORY: Record<EquipmentCategory, string> = {
    armors: "Armors",
    threadArmors: "Thread Armors",
    shields: "Shields",
    weapons: "Weapons",
    misc: "Miscellaneous",
};

interface Entry {
    category: EquipmentCategory;
    path: string[];
    name: string;
}

// Groups entries under their category and sub-category path, in the order given.
function buildTree<T extends Entry>(
    entries: T[],
    key: (e: T, i: number) => string,
    place: (e: T) => string[] = (e) => [CATEGORY[e.category], ...e.path],
    label: (e: T) => string = (e) => e.name,
): TreeNode[] {
    const roots: TreeNode[] = [];
    const branches = new Map<string, TreeNode>();
    const branchOf = (labels: string[]): TreeNode[] => {
        let level = roots;
        let k = "";
        for (const label of labels) {
            k += "/" + label;
            let b = branches.get(k);
            if (!b) {
                b = { key: k, label, children: [] };
                branches.set(k, b);
                level.push(b);
            }
            level = b.children!;
        }
        return level;
    };
    entries.forEach((e, i) => branchOf(place(e)).push({ key: key(e, i), label: label(e) }));
    const sort = (nodes: TreeNode[]) => {
        nodes.sort((a, b) => caseless(a.label, b.label));
        for (const n of nodes) if (n.children) sort(n.children);
    };
    for (const r of roots) sort(r.children!);
    return roots;
}

export const equipmentTree = perCatalog((c: BriefCatalog) => buildTree(c.equipment, (_e, i) => `item:${i}`));

export function EquipmentPage({ s }: { s: Session }): JSX.Element {
    const [chosen, setChosen] = useState<string | null>(null);
    const [piece, setPiece] = useState<number | null>(null);
    const catalogTree = equipmentTree(s.catalog);
    const owned = s.view.equipment.owned;
    // The character's pieces sit right under their category, thread armours with the armours,
    // as on the desktop.
    const ownedTree = buildTree(
        owned,
        (e) => `piece:${e.index}`,
        (e) => [CATEGORY[e.category === "threadArmors" ? "armors" : e.category]],
        (e) => (e.worn ? `${e.name} (worn)` : e.name),
    ).sort((a, b) => caseless(a.label, b.label));
    const [findOwned, setFindOwned, ownedShown] = useFind(ownedTree);
    const item = chosen ? s.catalog.equipment[Number(chosen.slice(5))] : undefined;
    const current = piece === null ? undefined : owned.find((o) => o.index === piece);
    const rows = current ? current.rows : item ? s.engine.itemDetails(item.category, item.name) : [];
    const buy = (key: string) => {
        const e = s.catalog.equipment[Number(key.slice(5))];
        if (e) s.apply({ op: "buy", category: e.category, item: e.name });
    };
    return (
        <div class="page equipment-page">
            <FindTree
                title="Available Equipment"
                findLabel="Find available equipment"
                nodes={catalogTree}
                selected={chosen}
                onSelect={(k) => {
                    setChosen(k);
                    setPiece(null);
                }}
                onActivate={buy}
            />
            <div class="column">
                <Group title="Characteristics">
                    <Pairs rows={rows} />
                </Group>
                <button type="button" disabled={!item || piece !== null} onClick={() => chosen && buy(chosen)}>
                    Equip
                </button>
                <button
                    type="button"
                    disabled={!current}
                    onClick={() => {
                        if (current) s.apply({ op: "remove", index: current.index });
                        setPiece(null);
                    }}
                >
                    Remove
                </button>
                <Warning text={s.view.equipment.warning} />
            </div>
            <Group title="Character Equipment" class="grow">
                <div class="row">
                    <label class="check">
                        <input
                            type="checkbox"
                            disabled={!current || current.worn === null}
                            checked={!!current?.worn}
                            onChange={(e) =>
                                current && s.apply({ op: "wear", index: current.index, worn: e.currentTarget.checked })
                            }
                        />
                        Armor in use
                    </label>
                    <NumField
                        label="Thread"
                        value={current?.threadRank ?? 0}
                        min={0}
                        max={current?.threadMax ?? 0}
                        disabled={!current || current.threadRank === null}
                        onCommit={(rank) => current && s.apply({ op: "threadRank", index: current.index, rank })}
                    />
                </div>
                <Find label="Find character equipment" value={findOwned} onInput={setFindOwned} />
                <Tree
                    label="Character Equipment"
                    nodes={ownedShown}
                    allOpen
                    selected={piece === null ? null : `piece:${piece}`}
                    onSelect={(k) => setPiece(Number(k.slice(6)))}
                />
            </Group>
        </div>
    );
}
