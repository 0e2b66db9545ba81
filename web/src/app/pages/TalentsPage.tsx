import type { JSX } from "preact";
import { useState } from "preact/hooks";
import type { Session } from "../session";
import { FindGroup, Grid, Group, InfoGroup, NumField, RowName, matches, yesNo } from "../widgets";

export function TalentsPage({ s }: { s: Session }): JSX.Element {
    const t = s.view.talents;
    const [showZero, setShowZero] = useState(true);
    const [find, setFind] = useState("");
    const [chosen, setChosen] = useState<string | null>(null);
    const keep = matches(find);
    const rows = t.list.filter((r) => (showZero || r.rank > 0) && keep(r.name));
    const info = s.catalog.entry("talent", chosen);
    return (
        <div class="page talents-page">
            <FindGroup title="Talents" findLabel="Find talents" find={find} onFind={setFind}>
                <Grid caption="Character talents" columns={["Talent", "Rank", "Discipline", "Formula", "Step"]}>
                    {rows.map((r) => (
                        <tr key={r.name} class={r.dimmed ? "dimmed" : undefined}>
                            <RowName
                                name={r.name}
                                chosen={r.name === chosen}
                                onChoose={() => setChosen(r.name)}
                                tip={() => s.catalog.entry("talent", r.name)?.description}
                            />
                            <td>
                                <NumField
                                    label={`${r.name} rank`}
                                    hideLabel
                                    value={r.rank}
                                    min={0}
                                    max={15}
                                    onCommit={(rank) => s.apply({ op: "talentRank", talent: r.name, rank })}
                                />
                            </td>
                            <td>{r.discipline}</td>
                            <td>{r.formula}</td>
                            <td>{r.step}</td>
                        </tr>
                    ))}
                </Grid>
                <label class="check">
                    <input type="checkbox" checked={showZero} onChange={(e) => setShowZero(e.currentTarget.checked)} />
                    Show 'Rank 0' Talents
                </label>
            </FindGroup>
            <div class="column">
                <Group title="Check Points...">
                    <textarea readOnly aria-label="Check Points..." rows={8} value={t.check} />
                </Group>
                <InfoGroup
                    title="Information"
                    rows={[
                        ["Formula :", info?.formula ?? ""],
                        ["Strain :", info?.strain ?? ""],
                        ["Action :", yesNo(info, "action")],
                        ["Karma :", yesNo(info, "karma")],
                    ]}
                    textLabel="Talent information"
                    text={info?.description}
                />
            </div>
        </div>
    );
}
