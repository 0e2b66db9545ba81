// A new user's walk from an empty character to circle 3, saved to a .vrn identical to the
// desktop's for the same steps (tests/data/web/walk-circle3.vrn, made by varn-tool import of
// walk-circle3.json); then every step undone and redone.
import { test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import type { Page } from "playwright-core";
import { download, fixture, setNumber, sharedPage, tab, title } from "./harness";

let page: Page;
sharedPage((p) => (page = p));

const TALENTS: [string, number][] = [
    ["Karma Ritual (Edgesworn)", 3],
    ["Bladework", 3],
    ["Sidestep", 3],
    ["Ready Blade", 3],
    ["Fleetfoot", 1],
    ["Durability (8/6)", 3],
    ["Read Intent", 1],
    ["Thread Weaving (Steelsong)", 3],
    ["Counterstroke", 3],
];

async function walk(): Promise<void> {
    await tab(page, "Character");
    await page.getByLabel("Name", { exact: true }).fill("Wren Halloway");
    await page.getByLabel("Name", { exact: true }).press("Tab");
    await setNumber(page, "Total Earned", 6000);
    await tab(page, "Attributes");
    await page.getByRole("combobox", { name: "Race" }).selectOption("Velde");
    for (const [a, v] of [["Dexterity", 15], ["Strength", 14], ["Toughness", 13], ["Perception", 11], ["Charisma", 9]] as const)
        await setNumber(page, `${a} base`, v);
    await setNumber(page, "Bought", 2);
    await tab(page, "Discipline");
    await page.getByRole("button", { name: /^Edgesworn/ }).click();
    await setNumber(page, "Edgesworn circle", 1);
    await setNumber(page, "Edgesworn circle", 3);
    await tab(page, "Talents");
    for (const [t, r] of TALENTS) await setNumber(page, `${t} rank`, r);
    assert.equal(await page.getByRole("textbox", { name: "Check Points..." }).inputValue(), "");
    await tab(page, "Skills");
    await page.getByLabel("Find skills").fill("dagger");
    await page.getByRole("button", { name: "Dagger Play", exact: true }).click();
    await setNumber(page, "Rank of Dagger Play", 2);
    await tab(page, "Equipment");
    await page.getByLabel("Find available equipment").fill("boiled");
    await page.getByRole("button", { name: "Boiled Leather Coat", exact: true }).click();
    await page.getByRole("button", { name: "Equip", exact: true }).click();
    await page.getByLabel("Find available equipment").fill("riverblade");
    await page.getByRole("button", { name: "Riverblade", exact: true }).dblclick();
    await page.getByRole("list", { name: "Character Equipment" }).getByRole("button", { name: "Boiled Leather Coat", exact: true }).click();
    await page.getByLabel("Armor in use").check();
}

test("a new character walked to circle 3 saves the desktop's bytes", async () => {
    await walk();
    assert.match((await title(page)) ?? "", /\*$/);
    const saved = await download(page, "Save");
    assert.deepEqual(saved, readFileSync(fixture("walk-circle3.vrn")));
    assert.doesNotMatch((await title(page)) ?? "", /\*$/);
});

test("undo all and redo all come back to the same bytes", async () => {
    const undo = page.getByRole("button", { name: /^Undo/ });
    const redo = page.getByRole("button", { name: /^Redo/ });
    let steps = 0;
    while (await undo.isEnabled()) {
        await page.keyboard.press("Control+z");
        steps++;
    }
    assert.ok(steps > 20, `only ${steps} steps`);
    await tab(page, "Character");
    assert.equal(await page.getByLabel("Name", { exact: true }).inputValue(), "");
    for (let i = 0; i < steps; i++) await (i % 2 ? page.keyboard.press("Control+y") : redo.click());
    assert.equal(await redo.isEnabled(), false);
    assert.deepEqual(await download(page, "Save"), readFileSync(fixture("walk-circle3.vrn")));
});
