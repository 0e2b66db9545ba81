// Web page figures (not a test): transferred size compressed, navigation to an editable new
// character, and each action with its repaint, with the shipped and a hundredfold data set.
// Run: node web/tools/bench.mjs (after scripts/build-web.sh).
import { execFileSync } from "node:child_process";
import { cpSync, mkdtempSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, relative } from "node:path";
import { gzipSync, brotliCompressSync } from "node:zlib";
import type { Page } from "playwright-core";
import { type Browser, launch, openFile, root, tab } from "../tests/harness";

const out = process.env.VARN_WEB_OUT ?? join(root, "build-web");

function sizes(dir: string): void {
    let raw = 0, gz = 0, br = 0;
    const walk = (d: string) => {
        for (const f of readdirSync(d)) {
            const p = join(d, f);
            if (statSync(p).isDirectory()) walk(p);
            else {
                const b = readFileSync(p);
                raw += b.length;
                gz += gzipSync(b, { level: 9 }).length;
                br += brotliCompressSync(b).length;
                if (b.length > 20000) console.log(`  ${relative(dir, p)}: ${b.length} B, gzip ${gzipSync(b, { level: 9 }).length} B`);
            }
        }
    };
    walk(dir);
    console.log(`transferred size: ${raw} B raw, ${gz} B gzip, ${br} B brotli`);
}

function hundredfold(): string {
    const tmp = mkdtempSync(join(tmpdir(), "varn-web-bench-"));
    const exe = join(tmp, "make-dataset");
    execFileSync("c++", ["-std=c++20", "-O1", "-I", join(root, "bench"), join(root, "web/bench/make-dataset.cpp"), "-o", exe]);
    const data = join(tmp, "data") + "/";
    execFileSync("mkdir", ["-p", data]);
    execFileSync(exe, [data]);
    const site = join(tmp, "site");
    cpSync(out, site, { recursive: true });
    const names = readdirSync(data).filter((f) => f.endsWith(".dat")).sort();
    for (const f of names) cpSync(join(data, f), join(site, "data", f));
    writeFileSync(join(site, "data", "index.json"), JSON.stringify(names));
    return tmp;
}

const median = (xs: number[]) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

async function navigation(b: Browser, runs = 5): Promise<number[]> {
    const times: number[] = [];
    for (let i = 0; i < runs; i++) {
        const page = await b.context.newPage();
        await page.goto(b.url);
        await page.waitForSelector("html[data-ready]");
        const marks = await page.evaluate(() =>
            ["varn-engine", "varn-data", "varn-session", "varn-ready"].map((m) => performance.getEntriesByName(m)[0].startTime),
        );
        if (i === runs - 1) console.log(`  last run: engine ${marks[0].toFixed(0)} ms, data ${marks[1].toFixed(0)} ms, view ${marks[2].toFixed(0)} ms, ready ${marks[3].toFixed(0)} ms`);
        times.push(marks[3]);
        await page.close();
    }
    return times;
}

// Commits a number the way a person does and waits for the frame after the repaint.
async function timed(page: Page, action: string, args: string[] = []): Promise<number> {
    return page.evaluate(
        async ([action, ...args]) => {
            const frame = () => new Promise<void>((r) => requestAnimationFrame(() => setTimeout(r, 0)));
            await frame();
            await frame();
            const t0 = performance.now();
            if (action === "number") {
                const box = [...document.querySelectorAll<HTMLInputElement>("input")].find(
                    (i) => i.labels?.[0]?.textContent === args[0],
                )!;
                box.value = args[1];
                box.dispatchEvent(new Event("change", { bubbles: true }));
            } else if (action === "click") {
                [...document.querySelectorAll<HTMLButtonElement>("button")].find((x) => x.textContent === args[0])!.click();
            } else if (action === "undo") {
                window.dispatchEvent(new KeyboardEvent("keydown", { key: "z", ctrlKey: true }));
            }
            // The render runs from a microtask; a task later it is done, and reading the layout
            // makes the browser compute style and layout for the repaint.
            await new Promise((r) => setTimeout(r, 0));
            document.body.getBoundingClientRect();
            return performance.now() - t0;
        },
        [action, ...args],
    );
}

// Each run is a real change: a page switch starts from the Character page, an undo follows a
// change made untimed just before (the step before it in the list).
async function actions(page: Page, label: string, steps: [string, string, string[]][]): Promise<void> {
    const rows: string[] = [];
    for (const [k, [name, action, args]] of steps.entries()) {
        const t: number[] = [];
        for (let i = 0; i < 5; i++) {
            if (action === "click") await timed(page, "click", ["Character"]);
            if (action === "undo") await timed(page, steps[k - 1][1], [steps[k - 1][2][0], String(5 + i)]);
            if (action === "number") await timed(page, "number", [args[0], String(Number(args[1]) + (i % 2))]);
            else t.push(await timed(page, action, args));
            if (action === "number") t.push(await timed(page, "number", [args[0], String(Number(args[1]) + ((i + 1) % 2))]));
        }
        rows.push(`    ${name}: median ${median(t).toFixed(1)} ms, max ${Math.max(...t).toFixed(1)} ms`);
    }
    console.log(`actions with repaint, ${label}:\n${rows.join("\n")}`);
}

sizes(out);
{
    const b = await launch(out);
    const nav = await navigation(b);
    console.log(`navigation to an editable new character, shipped data: median ${median(nav).toFixed(0)} ms (${nav.map((x) => x.toFixed(0)).join(", ")})`);
    const page = await b.context.newPage();
    await page.goto(b.url);
    await page.waitForSelector("html[data-ready]");
    await openFile(page, join(root, "examples/veteran.vrn"));
    await tab(page, "Talents");
    const steps: [string, string, string[]][] = [
        ["talent rank", "number", ["Spell Shaping rank", "7"]],
        ["undo", "undo", []],
        ["switch to Talents", "click", ["Talents"]],
        ["switch to Attributes", "click", ["Attributes"]],
        ["attribute base", "number", ["Charisma base", "11"]],
        ["switch to Equipment", "click", ["Equipment"]],
        ["switch to Grimoire", "click", ["Grimoire"]],
    ];
    await actions(page, "shipped data, veteran", steps);
    await b.close();
}
{
    const tmp = hundredfold();
    const site = join(tmp, "site");
    sizes(site);
    const b = await launch(site);
    const nav = await navigation(b, 3);
    console.log(`navigation to an editable new character, hundredfold data: median ${median(nav).toFixed(0)} ms (${nav.map((x) => x.toFixed(0)).join(", ")})`);
    const page = await b.context.newPage();
    await page.goto(b.url);
    await page.waitForSelector("html[data-ready]");
    await tab(page, "Discipline");
    const first = await page.locator(".discipline-page .list button").first().textContent();
    await actions(page, "hundredfold data", [
        ["circle", "number", [`${first?.trim()} circle`, "2"]],
        ["undo", "undo", []],
        ["switch to Attributes", "click", ["Attributes"]],
        ["attribute base", "number", ["Strength base", "12"]],
        ["switch to Skills", "click", ["Skills"]],
        ["switch to Equipment", "click", ["Equipment"]],
        ["switch to Grimoire", "click", ["Grimoire"]],
        ["switch to Discipline", "click", ["Discipline"]],
    ]);
    await b.close();
    rmSync(tmp, { recursive: true, force: true });
}
