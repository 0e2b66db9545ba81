// Offline: the page, the engine and the shipped data are kept in a cache on first visit and
// served from it afterwards; a new build (new cache name) replaces the old files.
declare const VARN_BUILD: string;
declare const VARN_FILES: string[];

interface WaitEvent extends Event {
    waitUntil(p: Promise<unknown>): void;
}
interface FetchEvent extends WaitEvent {
    request: Request;
    respondWith(r: Promise<Response>): void;
}
const worker = self as unknown as {
    addEventListener(type: "install" | "activate", f: (e: WaitEvent) => void): void;
    addEventListener(type: "fetch", f: (e: FetchEvent) => void): void;
    skipWaiting(): Promise<void>;
    clients: { claim(): Promise<void> };
};

const CACHE = `varn-${VARN_BUILD}`;

worker.addEventListener("install", (e) => {
    e.waitUntil(
        caches
            .open(CACHE)
            .then((c) => c.addAll(VARN_FILES))
            .then(() => worker.skipWaiting()),
    );
});

worker.addEventListener("activate", (e) => {
    e.waitUntil(
        caches
            .keys()
            .then((keys) => Promise.all(keys.filter((k) => k !== CACHE).map((k) => caches.delete(k))))
            .then(() => worker.clients.claim()),
    );
});

worker.addEventListener("fetch", (e) => {
    if (e.request.method !== "GET") return;
    e.respondWith(caches.match(e.request, { ignoreSearch: true }).then((hit) => hit ?? fetch(e.request)));
});
