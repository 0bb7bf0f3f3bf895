// What the page's browser tests stand on: a scratch folder holding zovcfg, the built page and a
// registry; cockpit-ws with a local session as root and as an ordinary user, both on 127.0.0.1
// with that registry in their environment; and a headless chromium driven by puppeteer-core.
import { execFileSync, spawn } from "node:child_process";
import { chmodSync, cpSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { createServer } from "node:net";
import { tmpdir } from "node:os";
import { join } from "node:path";
import puppeteer from "puppeteer-core";

const PARAMETERS = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters";
const COCKPIT_WS = "/usr/lib/cockpit/cockpit-ws";
export const ORDINARY_USER = "zovci";

function required(name) {
    const value = process.env[name];
    if (!value) {
        throw new Error(`${name} is not set: run the tests through cockpit/test/run-browser-tests`);
    }
    return value;
}

function freePort() {
    return new Promise((resolve, reject) => {
        const server = createServer();
        server.on("error", reject);
        server.listen(0, "127.0.0.1", () => {
            const { port } = server.address();
            server.close(() => resolve(port));
        });
    });
}

// A card as the .reg lines that the driver's installer would write.
function cardKeys(number, card) {
    const key = `[${PARAMETERS}\\Card${number}]`;
    const dword = value => `dword:${value.toString(16).padStart(8, "0")}`;
    const values = card.bus === "isa"
        ? [`"ZOVBaseAddress"=${dword(card.base)}`, `"ZOVIrq"=${dword(card.irq)}`]
        : [`"ZOVPortCount"=${dword(card.ports)}`, `"ZOVBus"=${dword(card.pciBus)}`, `"ZOVSlot"=${dword(card.slot)}`];
    const lines = [key, ...values, ""];
    for (let port = 1; port <= card.ports; ++port) {
        lines.push(`[${PARAMETERS}\\Card${number}\\Port${port}]`, `"DOSDeviceName"="COM${card.com + port - 1}"`, "");
    }
    return lines;
}

export class ConsoleFixture {
    async start() {
        if (process.getuid() !== 0) {
            throw new Error("the page's tests run as root: they start cockpit-ws as root and as another user");
        }
        this.zovreg = required("ZOVREG");
        this.scratch = mkdtempSync(join(tmpdir(), "zovcfg-cockpit-"));
        chmodSync(this.scratch, 0o755);
        // Everything the ordinary user's session needs lies inside the scratch folder.
        const bin = join(this.scratch, "bin");
        mkdirSync(bin);
        this.zovcfgPath = join(bin, "zovcfg");
        cpSync(required("ZOVCFG"), this.zovcfgPath);
        cpSync(required("ZOVCFG_COCKPIT_DIST"), join(this.scratch, "share/cockpit/zovcfg"), { recursive: true });
        mkdirSync(join(this.scratch, "registry"));
        this.registry = join(this.scratch, "registry/registry.db");
        const userHome = join(this.scratch, "home");
        mkdirSync(userHome);
        execFileSync("chown", [ORDINARY_USER, userHome]);
        this.environment = {
            PATH: `${bin}:/usr/sbin:/usr/bin:/sbin:/bin`,
            ZOVCFG_REGISTRY: this.registry,
            XDG_DATA_DIRS: `${join(this.scratch, "share")}:/usr/share`,
            LANG: "C.UTF-8",
        };
        this.servers = [];
        this.rootUrl = await this.startCockpit("root", { ...this.environment, HOME: "/root" });
        this.userUrl = await this.startCockpit(ORDINARY_USER, { ...this.environment, HOME: userHome });
        this.browser = await puppeteer.launch({
            executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
            headless: true,
            userDataDir: join(this.scratch, "chromium"),
            args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                "--disable-background-networking", "--disable-component-update", "--disable-sync"],
        });
    }

    async stop() {
        await this.browser?.close();
        for (const server of this.servers) {
            server.kill();
        }
        if (this.scratch) {
            rmSync(this.scratch, { recursive: true, force: true });
        }
    }

    // cockpit-ws on a free port of 127.0.0.1, its session a bridge of `user`.
    async startCockpit(user, environment) {
        const port = await freePort();
        const variables = Object.entries(environment).map(([name, value]) => `${name}=${value}`);
        const command = ["runuser", "-u", user, "--", "env", "-i", ...variables,
            COCKPIT_WS, "--local-session=cockpit-bridge", "--address=127.0.0.1", `--port=${port}`];
        // Its log is shown only when it fails to serve the page: the bridge warns of what tests lack.
        const server = spawn(command[0], command.slice(1), { stdio: ["ignore", "ignore", "pipe"] });
        let log = "";
        server.stderr.on("data", data => { log += data });
        this.servers.push(server);
        const url = `http://127.0.0.1:${port}/cockpit/@localhost/zovcfg/index.html`;
        for (let attempt = 0; attempt < 100; ++attempt) {
            try {
                if ((await fetch(url)).ok) {
                    return url;
                }
            } catch {
                // not listening yet
            }
            if (server.exitCode !== null) {
                break;
            }
            await new Promise(resolve => setTimeout(resolve, 100));
        }
        throw new Error(`cockpit-ws as ${user} did not serve ${url}:\n${log}`);
    }

    // The registry anew, holding `cards` numbered as given (a missing number leaves a gap).
    makeRegistry(cards) {
        rmSync(join(this.scratch, "registry"), { recursive: true, force: true });
        const file = join(this.scratch, "cards.reg");
        const lines = ["REGEDIT4", "", `[${PARAMETERS}]`, ""];
        for (const [number, card] of Object.entries(cards)) {
            lines.push(...cardKeys(Number(number), card));
        }
        writeFileSync(file, lines.join("\r\n"));
        execFileSync(this.zovreg, ["import", file], { env: this.environment, stdio: ["ignore", "pipe", "pipe"] });
    }

    // What zovcfg itself answers on the registry of the tests, as root or as `user`.
    zovcfg(...args) {
        return this.zovcfgAs("root", ...args);
    }

    zovcfgAs(user, ...args) {
        const command = ["-u", user, "--", "env", `ZOVCFG_REGISTRY=${this.registry}`, this.zovcfgPath, ...args, "--json"];
        try {
            return JSON.parse(execFileSync("runuser", command, { stdio: ["ignore", "pipe", "pipe"] }));
        } catch (failure) {
            return JSON.parse(failure.stdout);
        }
    }

    // A registry file that is not a registry at all: zovcfg cannot run on it.
    breakRegistry() {
        this.makeRegistry({});
        writeFileSync(this.registry, "not a registry\n".repeat(64));
    }

    registryBytes() {
        return readFileSync(this.registry);
    }

    // A new tab on the page, once it shows what `ready` selects.
    async open(url = this.rootUrl, ready = "#card-list") {
        const page = await this.browser.newPage();
        await page.setViewport({ width: 1280, height: 900 });
        page.setDefaultTimeout(15000);
        // What the page fetched that failed or came from elsewhere than this Cockpit.
        page.badFetches = [];
        page.on("response", response => {
            if (response.status() >= 400) {
                page.badFetches.push(`${response.status()} ${response.url()}`);
            }
        });
        page.on("request", request => {
            if (!request.url().startsWith(new URL(url).origin)) {
                page.badFetches.push(`foreign ${request.url()}`);
            }
        });
        await page.goto(url);
        await page.waitForSelector(ready);
        return page;
    }
}
