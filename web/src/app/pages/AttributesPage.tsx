import type { JSX } from "preact";
import type { Session } from "../session";
import { Group, Mark, NumField, Pairs, useId } from "../widgets";

export function AttributesPage({ s }: { s: Session }): JSX.Element {
    const a = s.view.attributes;
    const k = a.karma;
    const raceId = useId("race");
    return (
        <div class="page attributes-page">
            <div class="column">
                <Group title="Race">
                    <label for={raceId} class="sr-only">
                        Race
                    </label>
                    <select
                        id={raceId}
                        value={a.race}
                        onChange={(e) => s.apply({ op: "race", name: e.currentTarget.value })}
                    >
                        {!a.race && <option value="">{""}</option>}
                        {s.catalog.races.map((r) => (
                            <option key={r.name} value={r.name}>
                                {r.name}
                            </option>
                        ))}
                    </select>
                </Group>
                <table class="attributes">
                    <caption class="sr-only">Attributes</caption>
                    <thead>
                        <tr>
                            <th scope="col">Attribute</th>
                            <th scope="col">Base</th>
                            <th scope="col">Race</th>
                            <th scope="col">Level</th>
                            <th scope="col">Value</th>
                            <th scope="col">Step</th>
                        </tr>
                    </thead>
                    <tbody>
                        {a.attributes.map((at) => (
                            <tr key={at.name}>
                                <th scope="row">{at.name}</th>
                                <td>
                                    <NumField
                                        label={`${at.name} base`}
                                        hideLabel
                                        value={at.base}
                                        min={at.min}
                                        max={at.max}
                                        onCommit={(value) =>
                                            s.apply({ op: "attributeBase", attribute: at.name, value })
                                        }
                                    />
                                </td>
                                <td>{at.modifier}</td>
                                <td>
                                    <NumField
                                        label={`${at.name} level`}
                                        hideLabel
                                        value={at.increases}
                                        min={0}
                                        max={5}
                                        onCommit={(value) =>
                                            s.apply({ op: "attributeIncreases", attribute: at.name, value })
                                        }
                                    />
                                </td>
                                <td>{at.value}</td>
                                <td>{at.step}</td>
                            </tr>
                        ))}
                    </tbody>
                    <tfoot>
                        <tr>
                            <th scope="row">Points</th>
                            <td colSpan={2}>
                                {a.points} <Mark on={a.pointsWarning} />
                            </td>
                            <td colSpan={3}>
                                {a.increases} <Mark on={a.increasesWarning} />
                            </td>
                        </tr>
                    </tfoot>
                </table>
                <Group title="Race Abilities">
                    <div class="text-box" tabIndex={0} role="region" aria-label="Race Abilities">
                        {a.raceAbilities.map((t, i) => (
                            <p key={i}>{t}</p>
                        ))}
                    </div>
                </Group>
            </div>
            <div class="column">
                <Group title="Initiative Dice">
                    <p>{a.initiative}</p>
                </Group>
                <Group title="Defenses">
                    <Pairs rows={[["Physical", a.physicalDefense], ["Spell", a.spellDefense], ["Social", a.socialDefense]]} />
                </Group>
                <Group title="Armors">
                    <Pairs rows={[["Physical", a.physicalArmor], ["Mystic", a.mysticArmor]]} />
                </Group>
                <Group title="Movement">
                    <Pairs rows={[["Land", a.land], ["Fly", a.fly]]} />
                </Group>
            </div>
            <div class="column">
                <Group title="Damage">
                    <Pairs
                        rows={[
                            ["Death Rating", a.death],
                            ["Unconsciousness Rating", a.unconsciousness],
                            ["Wound Threshold", a.wound],
                            ["Recovery Test per Day", a.recoveryTests],
                            ["Recovery Dice", a.recoveryDice],
                        ]}
                    />
                </Group>
                <Group title="Capacity">
                    <Pairs rows={[["Carry", a.carry], ["Lift", a.lift]]} />
                </Group>
                <Group title="Karma">
                    <Pairs rows={[["Cost :", k.cost], ["Max :", k.max], ["Dice :", k.dice]]} />
                    <NumField label="Bought" value={k.bought} onCommit={(value) => s.apply({ op: "karmaBought", value })} />
                    <NumField label="Spent" value={k.spent} onCommit={(value) => s.apply({ op: "karmaSpent", value })} />
                    <Pairs rows={[["Available Points :", k.available]]} />
                    <Mark on={k.warning} />
                </Group>
            </div>
        </div>
    );
}
