import type { JSX } from "preact";
import { useState } from "preact/hooks";
import type { BriefCatalog } from "../../engine/varn-engine";
import type { Session } from "../session";
import { FindTree, Grid, Group, InfoGroup, RowName, type TreeNode, Warning, caseless, perCatalog, sortedCaseless } from "../widgets";

// Leaf keys carry the type the spell is listed under: a spell of two types is learnt as the
// one chosen.
const leafKey = (type: string, spell: string) => `${type}\u0000${spell}`;

// Types, then circles, then spells; a spell of several types is under each.
export const spellTree = perCatalog((c: BriefCatalog): TreeNode[] => {
    const types = new Map<string, Map<number, TreeNode[]>>();
    for (const p of sortedCaseless(c.spells, (p) => p.name))
        for (const type of p.types) {
            if (!types.has(type)) types.set(type, new Map());
            const circles = types.get(type)!;
            if (!circles.has(p.circle)) circles.set(p.circle, []);
            circles.get(p.circle)!.push({ key: leafKey(type, p.name), label: p.name });
        }
    return [...types.keys()].sort(caseless).map((type) => ({
        key: `type:${type}`,
        label: type,
        children: [...types.get(type)!.entries()]
            .sort((a, b) => a[0] - b[0])
            .map(([circle, children]) => ({ key: `circle:${type}:${circle}`, label: `Circle  ${circle}`, children })),
    }));
});

export function GrimoirePage({ s }: { s: Session }): JSX.Element {
    const [chosen, setChosen] = useState<string | null>(null);
    const [owned, setOwned] = useState<string | null>(null);
    const [showDescription, setShowDescription] = useState(false);
    const [type, name] = chosen ? chosen.split("\u0000") : ["", ""];
    const infoName = owned ?? name;
    const info = s.catalog.entry("spell", infoName);
    const description = (key: string) => s.catalog.entry("spell", key.split("\u0000").pop())?.description;
    const list = s.view.spells.list;
    const select = (key: string) => {
        setChosen(key);
        setOwned(null);
        setShowDescription(false);
    };
    return (
        <div class="page grimoire-page">
            <div class="column grow">
                <div class="learn-row">
                    <Warning text={type ? s.engine.threadWeavingWarning(type) : ""} />
                    <button
                        type="button"
                        disabled={!name}
                        onClick={() => s.apply({ op: "learnSpell", spell: name, type })}
                    >
                        Learn
                    </button>
                </div>
                <FindTree
                    title="Available Spells"
                    findLabel="Find spells"
                    nodes={spellTree(s.catalog)}
                    selected={chosen}
                    onSelect={select}
                    onActivate={(key) => {
                        const [t, n] = key.split("\u0000");
                        s.apply({ op: "learnSpell", spell: n, type: t });
                    }}
                    tip={description}
                />
            </div>
            <div class="column grow">
                <Group title="Character Spells">
                    <Grid caption="Character Spells" columns={["Spell", "Magic", "Circle"]}>
                        {list.map((p) => (
                            <tr key={p.name}>
                                <RowName
                                    name={p.name}
                                    chosen={p.name === owned}
                                    onChoose={() => {
                                        setOwned(p.name);
                                        setShowDescription(false);
                                    }}
                                    tip={() => description(p.name)}
                                />
                                <td>{p.type}</td>
                                <td>{p.circle}</td>
                            </tr>
                        ))}
                    </Grid>
                    <button
                        type="button"
                        disabled={!owned}
                        onClick={() => {
                            if (owned) s.apply({ op: "forgetSpell", spell: owned });
                            setOwned(null);
                        }}
                    >
                        Forget
                    </button>
                </Group>
                <InfoGroup
                    title="Information"
                    rows={[
                        ["Threads :", info?.threads ?? ""],
                        ["Weaving :", info?.weaving ?? ""],
                        ["Reattuning :", info?.reattuning ?? ""],
                        ["Range :", info?.range ?? ""],
                        ["Difficulty :", info?.difficulty ?? ""],
                        ["Duration :", info?.duration ?? ""],
                    ]}
                    textLabel="Spell effect"
                    text={info && (showDescription ? info.description : `Effect : ${info.effect}`)}
                >
                    <button
                        type="button"
                        disabled={!info}
                        aria-pressed={showDescription}
                        onClick={() => setShowDescription(!showDescription)}
                    >
                        Description
                    </button>
                </InfoGroup>
            </div>
        </div>
    );
}
