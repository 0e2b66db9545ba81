// axe-core over every page, on a desktop-wide and a phone-wide window: no serious or
// critical violation.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { join } from "node:path";
import { type Browser, launch, openFile, openPage, root, tab } from "./harness";

const axeSource = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
const PAGES = ["Character", "Attributes", "Discipline", "Talents", "Skills", "Equipment", "Grimoire", "System"];

let b: Browser;
before(async () => (b = await launch()));
after(() => b.close());

test("no serious or critical accessibility violation on any page", async () => {
    const page = await openPage(b);
    await openFile(page, join(root, "examples", "veteran.vrn"));
    await page.addScriptTag({ content: axeSource });
    const found: string[] = [];
    for (const width of [1100, 360]) {
        await page.setViewportSize({ width, height: 800 });
        for (const name of PAGES) {
            await tab(page, name);
            const violations = await page.evaluate(async () => {
                const axe = (window as unknown as { axe: { run(): Promise<{ violations: { id: string; impact: string; nodes: { target: string[] }[] }[] }> } }).axe;
                const r = await axe.run();
                return r.violations
                    .filter((v) => v.impact === "serious" || v.impact === "critical")
                    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
            });
            found.push(...violations.map((v) => `${name} @${width}: ${v}`));
        }
    }
    assert.deepEqual(found, []);
});
