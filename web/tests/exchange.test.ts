// The other ways in and out: a JSON character opened, a .vrn dropped on the page, the laid-out
// sheet handed to the browser's print, a data set chosen as a folder and as files.
import { test } from "node:test";
import assert from "node:assert/strict";
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import type { Page } from "playwright-core";
import { download, fixture, openFile, root, sharedPage, tab, title } from "./harness";

let page: Page;
sharedPage((p) => (page = p));

const nameField = () => page.getByLabel("Name", { exact: true });
const races = () => page.getByRole("combobox", { name: "Race" }).locator("option").allTextContents();

test("a JSON character opens as the desktop imports it", async () => {
    await openFile(page, fixture("walk-circle3.json"));
    await tab(page, "Character");
    assert.equal(await nameField().inputValue(), "Wren Halloway");
    assert.deepEqual(await download(page, "Save"), readFileSync(fixture("walk-circle3.vrn")));
    assert.equal(await title(page), "walk-circle3.vrn");
});

test("a .vrn dropped on the page opens", async () => {
    const bytes = readFileSync(join(root, "examples/veteran.vrn"));
    const files = await page.evaluateHandle((data) => {
        const d = new DataTransfer();
        d.items.add(new File([new Uint8Array(data)], "veteran.vrn"));
        return d;
    }, [...bytes]);
    await page.dispatchEvent("main", "drop", { dataTransfer: files });
    await page.waitForFunction(() => document.querySelector(".doc-title")?.textContent === "veteran.vrn");
    assert.equal(await nameField().inputValue(), "Serrow Vane, called the Weathercock");
});

test("Print hands the laid-out sheet to the browser's print", async () => {
    // The sheet is printed from a frame of its own; its print is caught here.
    await page.evaluate(() => {
        const get = Object.getOwnPropertyDescriptor(HTMLIFrameElement.prototype, "contentWindow")!.get!;
        Object.defineProperty(HTMLIFrameElement.prototype, "contentWindow", {
            get(this: HTMLIFrameElement) {
                const w = get.call(this) as Window | null;
                if (w) w.print = () => void ((window as { printed?: string }).printed = this.srcdoc);
                return w;
            },
        });
    });
    await page.getByRole("button", { name: "Print", exact: true }).click();
    const printed = await page.waitForFunction(() => (window as { printed?: string }).printed);
    assert.equal(await printed.jsonValue(), readFileSync(join(root, "tests/data/sheet/veteran.html"), "utf8"));
});

test("a data set chosen as a folder is used and remembered, and as files replaces it", async () => {
    // The shipped set with one more race, in a folder that holds other files too.
    const dir = mkdtempSync(join(tmpdir(), "varn-data-"));
    cpSync(join(root, "data"), dir, { recursive: true });
    const races0 = readFileSync(join(root, "data/Races.dat"), "utf8");
    writeFileSync(join(dir, "Races.dat"), `${races0}\n[Brindlekin]\nKarma Cost: 10\nKarma Max: 20\nKarma Start: 10\nKarma Step: 4\n`);
    writeFileSync(join(dir, "notes.txt"), "not a data file\n");
    const choose = async (button: string, files: string | string[]) => {
        await page.getByText("Data set", { exact: true }).click();
        const [chooser] = await Promise.all([page.waitForEvent("filechooser"), page.getByRole("button", { name: button }).click()]);
        await chooser.setFiles(files);
    };
    try {
        await choose("Choose a folder…", dir);
        await tab(page, "Attributes");
        await page.waitForFunction(() => document.querySelector("option[value=Brindlekin]"));
        page.on("dialog", (d) => void d.accept());
        await page.reload();
        await page.waitForSelector("html[data-ready]");
        await tab(page, "Attributes");
        assert.ok((await races()).includes("Brindlekin"));
        await tab(page, "Character");
        assert.equal(await nameField().inputValue(), "Serrow Vane, called the Weathercock");

        const shipped = ["Disciplines", "Equipment", "Races", "Skills", "Spells", "Talents", "VARN"];
        await choose("Choose the seven files…", shipped.map((n) => join(root, "data", `${n}.dat`)));
        await tab(page, "Attributes");
        await page.waitForFunction(() => !document.querySelector("option[value=Brindlekin]"));
        assert.ok((await races()).includes("Velde"));
    } finally {
        rmSync(dir, { recursive: true, force: true });
    }
});
