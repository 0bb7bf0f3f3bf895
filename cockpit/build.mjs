// Bundles the page into dist/: the script and its styles with PatternFly, the fonts those
// styles name, the manifest and the HTML. cockpit.js is not bundled: the installed Cockpit
// serves it.
import * as esbuild from "esbuild";
import { copyFileSync, mkdirSync, rmSync } from "node:fs";

const dist = new URL("./dist/", import.meta.url).pathname;
const src = new URL("./src/", import.meta.url).pathname;

rmSync(dist, { recursive: true, force: true });
mkdirSync(dist);
await esbuild.build({
    entryPoints: [`${src}index.jsx`],
    bundle: true,
    minify: true,
    outdir: dist,
    entryNames: "index",
    assetNames: "assets/[name]-[hash]",
    jsx: "automatic",
    target: ["es2020"],
    loader: { ".woff2": "file", ".svg": "file", ".png": "file", ".jpg": "file" },
    legalComments: "linked",
    logLevel: "warning",
});
for (const file of ["manifest.json", "index.html"]) {
    copyFileSync(`${src}${file}`, `${dist}${file}`);
}
