// Compiles TypeScript entry points for Node with esbuild: the browser tests and the benchmark
// run this way, their npm packages left to Node to import.
import * as esbuild from "esbuild";

export function bundleForNode(entryPoints, out) {
    return esbuild.build({
        entryPoints,
        ...out,
        bundle: true,
        platform: "node",
        format: "esm",
        packages: "external",
        target: "node20",
        logLevel: "warning",
    });
}
