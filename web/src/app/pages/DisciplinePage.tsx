import type { JSX } from "preact";
import { useState } from "preact/hooks";
import type { Session } from "../session";
import { Group, LongList, NumField, Pairs, sortedCaseless, tipOnDemand } from "../widgets";

export function DisciplinePage({ s }: { s: Session }): JSX.Element {
    const list = sortedCaseless(s.view.disciplines.list, (d) => d.name);
    const [chosen, setChosen] = useState<string | null>(null);
    const [viewCircle, setViewCircle] = useState(1);
    const [talent, setTalent] = useState<string | null>(null);
    const current = list.find((d) => d.name === chosen) ?? list.find((d) => d.circle > 0) ?? list[0];
    const entry = s.catalog.entry("discipline", current?.name);
    const atCircle = entry ? entry.talents.filter((t) => t.circle === viewCircle) : [];
    const shown = atCircle.find((t) => t.name === talent) ?? atCircle[0];
    const info = s.catalog.entry("talent", shown?.talent);
    return (
        <div class="page discipline-page">
            <div class="column">
                <Group title="Available Disciplines">
                    <LongList
                        label="Available Disciplines"
                        items={list}
                        itemKey={(d) => d.name}
                        render={(d) => (
                            <button
                                type="button"
                                class="leaf"
                                aria-pressed={d.name === current?.name}
                                onClick={() => setChosen(d.name)}
                            >
                                {d.label}
                            </button>
                        )}
                    />
                </Group>
                <Group title="Adept circle...">
                    <NumField
                        label={current ? `${current.name} circle` : "Circle"}
                        hideLabel
                        value={current?.circle ?? 0}
                        min={0}
                        max={current?.highestCircle ?? 0}
                        disabled={!current}
                        onCommit={(circle) => current && s.apply({ op: "circle", discipline: current.name, circle })}
                    />
                </Group>
                <Group title="Abilities">
                    <div class="text-box" tabIndex={0} role="region" aria-label="Abilities">
                        {entry?.abilities.map((a, i) => (
                            <p key={i}>
                                ({a.circle}) {a.text}
                            </p>
                        ))}
                    </div>
                </Group>
            </div>
            <div class="column wide">
                <Group title="Talents">
                    <NumField
                        label="View talents at circle..."
                        value={viewCircle}
                        min={1}
                        max={Math.max(1, entry?.highestCircle ?? 1)}
                        onCommit={(v) => setViewCircle(Math.max(1, Math.min(v, Math.max(1, entry?.highestCircle ?? 1))))}
                    />
                    <div class="split">
                        <ul class="list" aria-label={`Talents at circle ${viewCircle}`}>
                            {atCircle.map((t) => (
                                <li key={t.name}>
                                    <button
                                        type="button"
                                        class="leaf"
                                        aria-pressed={t === shown}
                                        {...tipOnDemand(() => s.catalog.entry("talent", t.talent)?.description)}
                                        onClick={() => setTalent(t.name)}
                                    >
                                        {t.name}
                                    </button>
                                </li>
                            ))}
                        </ul>
                        <div class="info">
                            <Pairs rows={[["Formula :", info?.formula ?? ""], ["Strain :", info?.strain ?? ""]]} />
                            <div class="text-box" tabIndex={0} role="region" aria-label="Talent description">
                                {info?.description}
                            </div>
                            <div class="flags">
                                <label>
                                    <input type="checkbox" disabled checked={!!info?.action} /> Action
                                </label>
                                <label>
                                    <input type="checkbox" disabled checked={!!info?.karma} /> Karma
                                </label>
                                <label>
                                    <input type="checkbox" disabled checked={!!shown?.disciplineTalent} /> Disc.
                                </label>
                            </div>
                        </div>
                    </div>
                </Group>
                <Group title="Discipline information">
                    <div class="text-box pre" tabIndex={0} role="region" aria-label="Discipline information">
                        {entry?.description}
                    </div>
                </Group>
            </div>
        </div>
    );
}
