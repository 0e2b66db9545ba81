import type { JSX } from "preact";
import { useState } from "preact/hooks";
import type { Catalog } from "../../engine/varn-engine";
import type { Session } from "../session";
import { Find, Group, NumField, Pairs, Tree, type TreeNode, caseless, filterTree, matches, perCatalog } from "../widgets";

// Skills by type, both sorted.
const skillTree = perCatalog((c: Catalog): TreeNode[] => {
    const types = new Map<string, TreeNode[]>();
    for (const k of [...c.skills].sort((a, b) => caseless(a.name, b.name))) {
        if (!types.has(k.type)) types.set(k.type, []);
        types.get(k.type)!.push({ key: k.name, label: k.name, title: k.description });
    }
    return [...types.keys()].sort(caseless).map((type) => ({ key: `type:${type}`, label: type, children: types.get(type) }));
});

export function SkillsPage({ s }: { s: Session }): JSX.Element {
    const [find, setFind] = useState("");
    const [chosen, setChosen] = useState<string | null>(null);
    const nodes = skillTree(s.catalog);
    const keep = matches(find);
    const shown = find ? filterTree(nodes, (n) => keep(n.label)) : nodes;
    const info = chosen ? s.catalog.skills.find((k) => k.name === chosen) : undefined;
    const owned = s.view.skills.list;
    const rank = owned.find((k) => k.name === chosen)?.rank ?? 0;
    return (
        <div class="page skills-page">
            <Group title="Available Skills" class="grow">
                <Find label="Find skills" value={find} onInput={setFind} />
                <Tree label="Available Skills" nodes={shown} allOpen={!!find} selected={chosen} onSelect={setChosen} />
            </Group>
            <div class="column wide">
                <Group title="Skill Information">
                    <Pairs
                        rows={[
                            ["Type :", info?.type ?? ""],
                            ["Formula :", info?.formula ?? ""],
                            ["Strain :", info?.strain ?? ""],
                            ["Action :", info ? (info.action ? "Yes" : "No") : ""],
                            ["Karma :", info ? (info.karma ? "Yes" : "No") : ""],
                        ]}
                    />
                    <div class="text-box pre" tabIndex={0} role="region" aria-label="Skill Information">
                        {info?.description}
                    </div>
                    <NumField
                        label={chosen ? `Rank of ${chosen}` : "Rank"}
                        value={rank}
                        min={0}
                        max={15}
                        disabled={!chosen}
                        onCommit={(r) => chosen && s.apply({ op: "skillRank", skill: chosen, rank: r })}
                    />
                </Group>
                <Group title="Character Skills" class="grow">
                    <div class="table-wrap">
                        <table class="grid">
                            <caption class="sr-only">Character Skills</caption>
                            <thead>
                                <tr>
                                    <th scope="col">Skill</th>
                                    <th scope="col">Rank</th>
                                    <th scope="col">Formula</th>
                                    <th scope="col">Step</th>
                                </tr>
                            </thead>
                            <tbody>
                                {owned.map((k) => (
                                    <tr key={k.name}>
                                        <th scope="row">
                                            <button
                                                type="button"
                                                class="leaf"
                                                aria-pressed={k.name === chosen}
                                                onClick={() => setChosen(k.name)}
                                            >
                                                {k.name}
                                            </button>
                                        </th>
                                        <td>
                                            <NumField
                                                label={`${k.name} rank`}
                                                hideLabel
                                                value={k.rank}
                                                min={0}
                                                max={15}
                                                onCommit={(r) => s.apply({ op: "skillRank", skill: k.name, rank: r })}
                                            />
                                        </td>
                                        <td>{k.formula}</td>
                                        <td>{k.step}</td>
                                    </tr>
                                ))}
                            </tbody>
                        </table>
                    </div>
                </Group>
            </div>
        </div>
    );
}
