// Shared set-up of the browser tests: the built page served on 127.0.0.1, Debian's Chromium
// through playwright-core with a fresh profile, and the few moves every walk needs.
import { after, before } from "node:test";
import { chromium, type BrowserContext, type Page } from "playwright-core";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { serve } from "../tools/serve.mjs";

export const root = resolve(import.meta.dirname, "../..");
const out = process.env.VARN_WEB_OUT ?? join(root, "build-web");

export const CHROMIUM_ARGS = [
    "--headless",
    "--no-sandbox",
    "--disable-gpu",
    "--disable-quic",
    "--no-first-run",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
];

export interface Browser {
    context: BrowserContext;
    url: string;
    close(): Promise<void>;
}

export async function launch(dir = out, width = 1100): Promise<Browser> {
    const { server, url } = await serve(dir);
    const profile = mkdtempSync(join(tmpdir(), "varn-chromium-"));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: process.env.VARN_CHROMIUM ?? "/usr/bin/chromium",
        headless: true,
        args: CHROMIUM_ARGS, // the fresh profile is passed as --user-data-dir
        acceptDownloads: true,
        bypassCSP: true, // lets the tests add axe-core to the page
        viewport: { width, height: 800 },
    });
    context.setDefaultTimeout(10000);
    // Saves go through downloads, which the test can read back.
    await context.addInitScript(() => {
        delete (window as { showSaveFilePicker?: unknown }).showSaveFilePicker;
    });
    return {
        context,
        url,
        close: async () => {
            await context.close();
            server.close();
            rmSync(profile, { recursive: true, force: true });
        },
    };
}

export async function openPage(b: Browser): Promise<Page> {
    const page = await b.context.newPage();
    await page.goto(b.url);
    await page.waitForSelector("html[data-ready]");
    return page;
}

// One browser and one page for a whole test file: opened before its first test, closed after
// its last; `ready` receives them.
export function sharedPage(ready: (page: Page, b: Browser) => void): void {
    let b: Browser | undefined;
    before(async () => {
        b = await launch();
        ready(await openPage(b), b);
    });
    after(() => b?.close());
}

export const tab = (page: Page, name: string) => page.getByRole("tab", { name, exact: true }).click();

// Types a number into a box and commits it as Enter does.
export async function setNumber(page: Page, label: string, value: number): Promise<void> {
    const box = page.getByLabel(label, { exact: true });
    await box.fill(String(value));
    await box.press("Enter");
}

export async function download(page: Page, button: string): Promise<Buffer> {
    const [d] = await Promise.all([
        page.waitForEvent("download"),
        page.getByRole("button", { name: button, exact: true }).click(),
    ]);
    return readFileSync((await d.path())!);
}

export async function openFile(page: Page, path: string | { name: string; buffer: Buffer }): Promise<void> {
    const [chooser] = await Promise.all([
        page.waitForEvent("filechooser"),
        page.getByRole("button", { name: "Open", exact: true }).click(),
    ]);
    await chooser.setFiles(typeof path === "string" ? path : { ...path, mimeType: "application/octet-stream" });
}

// The message box's lines, after which it is closed with OK.
export async function message(page: Page): Promise<string> {
    const dialog = page.locator("dialog[open]");
    await dialog.waitFor();
    const text = (await dialog.locator("p").allTextContents()).join("\n");
    await dialog.getByRole("button", { name: "OK" }).click();
    return text;
}

export const title = (page: Page) => page.locator(".doc-title").textContent();
export const fixture = (name: string) => join(root, "tests/data/web", name);
