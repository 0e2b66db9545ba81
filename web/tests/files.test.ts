// Files and storage: both examples open and save back unchanged; a bad .vrn and a bad data file
// are refused with the desktop's message and nothing lost; a reload brings unsaved work back.
import { test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import type { Page } from "playwright-core";
import { type Browser, download, fixture, message, openFile, root, sharedPage, tab, title } from "./harness";

let b: Browser;
let page: Page;
sharedPage((p, browser) => {
    page = p;
    b = browser;
});

const nameField = () => page.getByLabel("Name", { exact: true });

test("both examples open and save back byte for byte", async () => {
    for (const [file, name] of [
        ["beginner.vrn", "Tamsin Fordwalker"],
        ["veteran.vrn", "Serrow Vane, called the Weathercock"],
    ]) {
        const path = join(root, "examples", file);
        await openFile(page, path);
        await tab(page, "Character");
        assert.equal(await nameField().inputValue(), name);
        assert.equal(await title(page), file);
        assert.deepEqual(await download(page, "Save"), readFileSync(path));
    }
});

test("the open example exports the desktop's JSON and text sheet", async () => {
    const sheet = (name: string) => readFileSync(join(root, "tests/data/sheet", name), "utf8");
    // The desktop's JSON export of the veteran is the documented example.
    const json = readFileSync(join(root, "docs/examples/veteran.json"), "utf8");
    assert.equal((await download(page, "Export JSON")).toString("utf8"), json);
    // Saved text sheets have the desktop's CR LF line ends.
    assert.equal((await download(page, "Export Text")).toString("utf8"), sheet("veteran.txt").replace(/\n/g, "\r\n"));
});

test("a bad .vrn is refused with the desktop's message and the open character kept", async () => {
    await nameField().fill("Kept Name");
    await nameField().press("Enter");
    await openFile(page, fixture("bad.vrn"));
    await page.getByRole("button", { name: "No", exact: true }).click();
    assert.equal(
        await message(page),
        "This file was created by a new version of VARN.\nplease update your program\nFailed to open document.",
    );
    assert.equal(await nameField().inputValue(), "Kept Name");
});

test("a bad data file is refused with its messages and the data set kept", async () => {
    const files = ["Disciplines", "Equipment", "Races", "Skills", "Spells", "Talents", "VARN"].map((n) => ({
        name: `${n}.dat`,
        mimeType: "application/octet-stream",
        buffer: n === "VARN" ? Buffer.from("garbage\n") : readFileSync(join(root, "data", `${n}.dat`)),
    }));
    await page.getByText("Data set", { exact: true }).click();
    const [chooser] = await Promise.all([
        page.waitForEvent("filechooser"),
        page.getByRole("button", { name: "Choose the seven files…" }).click(),
    ]);
    await chooser.setFiles(files);
    assert.equal(
        await message(page),
        "File 'VARN.dat' has no [Attributes] table\nFile 'VARN.dat' has no [Action Dice] table",
    );
    assert.equal(await nameField().inputValue(), "Kept Name");
    await tab(page, "Attributes");
    assert.ok((await page.getByRole("combobox", { name: "Race" }).locator("option").count()) >= 6);
});

test("a reload brings back unsaved work, still marked unsaved", async () => {
    await tab(page, "Character");
    await nameField().fill("Unsaved Wren");
    await nameField().press("Enter");
    page.on("dialog", (d) => void d.accept());
    await page.reload();
    await page.waitForSelector("html[data-ready]");
    assert.equal(await nameField().inputValue(), "Unsaved Wren");
    assert.match((await title(page)) ?? "", /\*$/);
});

test("once loaded, the page starts again offline", async () => {
    await page.evaluate(() => navigator.serviceWorker.ready);
    await b.context.setOffline(true);
    await page.reload();
    await page.waitForSelector("html[data-ready]");
    assert.equal(await nameField().inputValue(), "Unsaved Wren");
    await b.context.setOffline(false);
});
