import js from "@eslint/js";
import tseslint from "typescript-eslint";

export default tseslint.config(
    { ignores: ["node_modules/", ".tests-*/", "src/engine/", "engine-tests/"] },
    js.configs.recommended,
    ...tseslint.configs.recommended,
    {
        files: ["**/*.{ts,tsx}"],
        rules: {
            "@typescript-eslint/no-unused-vars": ["error", { argsIgnorePattern: "^_" }],
            eqeqeq: "error",
            "prefer-const": "error",
        },
    },
    {
        files: ["**/*.mjs", "*.js"],
        languageOptions: {
            globals: { process: "readonly", console: "readonly", URL: "readonly", Buffer: "readonly" },
        },
    },
);
