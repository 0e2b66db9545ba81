// A small static server for the built page, on 127.0.0.1 only. Used by scripts/serve-web,
// the browser tests and the benchmark. Run: node serve.mjs DIR [PORT] (PORT 0: any free one).
import { createServer } from "node:http";
import { readFile, stat } from "node:fs/promises";
import { extname, join, normalize, resolve, sep } from "node:path";
import { fileURLToPath } from "node:url";

const TYPES = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript",
    ".mjs": "text/javascript",
    ".css": "text/css",
    ".json": "application/json",
    ".webmanifest": "application/manifest+json",
    ".wasm": "application/wasm",
    ".svg": "image/svg+xml",
    ".png": "image/png",
    ".dat": "application/octet-stream",
};

export function serve(dir, port = 0) {
    const base = resolve(dir);
    const server = createServer(async (req, res) => {
        try {
            const path = decodeURIComponent(new URL(req.url ?? "/", "http://x").pathname);
            let file = normalize(join(base, path));
            if (file !== base && !file.startsWith(base + sep)) throw new Error("outside");
            if ((await stat(file)).isDirectory()) file = join(file, "index.html");
            const body = await readFile(file);
            res.writeHead(200, {
                "Content-Type": TYPES[extname(file)] ?? "application/octet-stream",
                "Cache-Control": "no-cache",
            });
            res.end(body);
        } catch {
            res.writeHead(404, { "Content-Type": "text/plain" });
            res.end("not found");
        }
    });
    return new Promise((ok) =>
        server.listen(port, "127.0.0.1", () => ok({ server, url: `http://127.0.0.1:${server.address().port}/` })),
    );
}

if (process.argv[1]?.endsWith("serve.mjs") && process.argv[1] === fileURLToPath(import.meta.url)) {
    const { url } = await serve(process.argv[2] ?? ".", Number(process.argv[3] ?? 8023));
    console.log(`VARN is served at ${url} (Ctrl+C stops it)`);
}
