// Bundles the page into dist/: the script and its styles with PatternFly, the manifest and the
// HTML. cockpit.js is not bundled, nor are the Red Hat fonts: the installed Cockpit serves both.
import * as esbuild from "esbuild";
import { copyFileSync, mkdirSync, rmSync } from "node:fs";

const dist = new URL("./dist/", import.meta.url).pathname;
const src = new URL("./src/", import.meta.url).pathname;

// PatternFly's variable fonts, taken from Cockpit's own copies (regular and italic) instead.
const cockpitFonts = {
    name: "cockpit-fonts",
    setup(build) {
        build.onResolve({ filter: /assets\/fonts\/.*VF(-Italic)?\.woff2$/ }, ({ path }) => {
            const [, family, italic] = path.match(/(RedHat\w+)VF(-Italic)?\.woff2$/);
            return { path: `../../static/fonts/${family}-${italic ? "Italic" : "Regular"}.woff2`, external: true };
        });
    },
};

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
    plugins: [cockpitFonts],
    logLevel: "warning",
});
for (const file of ["manifest.json", "index.html"]) {
    copyFileSync(`${src}${file}`, `${dist}${file}`);
}
