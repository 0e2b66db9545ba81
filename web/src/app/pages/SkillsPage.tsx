import type { JSX } from "preact";
import { useState } from "preact/hooks";
import type { BriefCatalog } from "../../engine/varn-engine";
import type { Session } from "../session";
import { FindTree, Grid, Group, InfoGroup, NumField, RowName, type TreeNode, caseless, perCatalog, sortedCaseless, yesNo } from "../widgets";

// Skills by type, both sorted.
export const skillTree = perCatalog((c: BriefCatalog): TreeNode[] => {
    const types = new Map<string, TreeNode[]>();
    for (const k of sortedCaseless(c.skills, (k) => k.name)) {
        if (!types.has(k.type)) types.set(k.type, []);
        types.get(k.type)!.push({ key: k.name, label: k.name });
    }
    return [...types.keys()].sort(caseless).map((type) => ({ key: `type:${type}`, label: type, children: types.get(type) }));
});

export function SkillsPage({ s }: { s: Session }): JSX.Element {
    const [chosen, setChosen] = useState<string | null>(null);
    const info = s.catalog.entry("skill", chosen);
    const owned = s.view.skills.list;
    const rank = owned.find((k) => k.name === chosen)?.rank ?? 0;
    return (
        <div class="page skills-page">
            <FindTree
                title="Available Skills"
                findLabel="Find skills"
                nodes={skillTree(s.catalog)}
                selected={chosen}
                onSelect={setChosen}
                tip={(key) => s.catalog.entry("skill", key)?.description}
            />
            <div class="column wide">
                <InfoGroup
                    title="Skill Information"
                    rows={[
                        ["Type :", info?.type ?? ""],
                        ["Formula :", info?.formula ?? ""],
                        ["Strain :", info?.strain ?? ""],
                        ["Action :", yesNo(info, "action")],
                        ["Karma :", yesNo(info, "karma")],
                    ]}
                    textLabel="Skill Information"
                    text={info?.description}
                >
                    <NumField
                        label={chosen ? `Rank of ${chosen}` : "Rank"}
                        value={rank}
                        min={0}
                        max={15}
                        disabled={!chosen}
                        onCommit={(r) => chosen && s.apply({ op: "skillRank", skill: chosen, rank: r })}
                    />
                </InfoGroup>
                <Group title="Character Skills" class="grow">
                    <Grid caption="Character Skills" columns={["Skill", "Rank", "Formula", "Step"]}>
                        {owned.map((k) => (
                            <tr key={k.name}>
                                <RowName name={k.name} chosen={k.name === chosen} onChoose={() => setChosen(k.name)} />
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
                    </Grid>
                </Group>
            </div>
        </div>
    );
}
