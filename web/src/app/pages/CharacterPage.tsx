import type { JSX } from "preact";
import type { Session } from "../session";
import { Group, Mark, NumField, Pairs, TextField } from "../widgets";

export function CharacterPage({ s }: { s: Session }): JSX.Element {
    const c = s.view.character;
    return (
        <div class="page character-page">
            <TextField label="Name" value={c.name} onCommit={(value) => s.apply({ op: "name", value })} />
            <TextField
                label="Description"
                multiline
                value={c.description}
                onCommit={(value) => s.apply({ op: "description", value })}
            />
            <Group title="Legend Points for Character Creation">
                <NumField
                    label="Total"
                    value={c.creation}
                    onCommit={(value) => s.apply({ op: "legend", field: "creation", value })}
                />
            </Group>
            <Group title="Legend Points">
                <NumField
                    label="Total Earned"
                    value={c.earned}
                    onCommit={(value) => s.apply({ op: "legend", field: "earned", value })}
                />
                <NumField
                    label="Extra Costs"
                    value={c.extra}
                    onCommit={(value) => s.apply({ op: "legend", field: "extra", value })}
                />
                <Pairs rows={[["VARN Spent", c.spent], ["Available", c.available]]} />
                <Mark on={c.availableWarning} />
            </Group>
        </div>
    );
}
