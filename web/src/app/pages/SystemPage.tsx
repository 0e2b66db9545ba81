import type { JSX } from "preact";
import type { OptionName } from "../../engine/varn-engine";
import type { Session } from "../session";
import { Group, NumField } from "../widgets";

const OPTIONS: [OptionName, string][] = [
    ["raceDisciplineCompatibility", "Race/Discipline Compatibility"],
    ["attributesCost", "Attributes Cost"],
    ["attributeIncrease", "Attribute Increase"],
    ["attributesMinMax", "Attributes Min/Max"],
    ["circleAdvancement", "Circle Advancement"],
    ["armorsWornLimit", "Number of Armors Worn"],
];

export function SystemPage({ s }: { s: Session }): JSX.Element {
    const o = s.view.system;
    const check = (option: OptionName, label: string) => (
        <label class="check" key={option}>
            <input
                type="checkbox"
                checked={o[option]}
                onChange={(e) => s.apply({ op: "option", option, value: e.currentTarget.checked })}
            />
            {label}
        </label>
    );
    return (
        <div class="page system-page">
            <Group title="System">
                {check(...OPTIONS[0])}
                {check(...OPTIONS[1])}
                <NumField
                    label="Attribute points"
                    value={o.attributePoints}
                    min={1}
                    max={999}
                    disabled={!o.attributePointsEnabled}
                    onCommit={(value) => s.apply({ op: "attributePoints", value })}
                />
                {OPTIONS.slice(2).map((x) => check(...x))}
            </Group>
        </div>
    );
}
