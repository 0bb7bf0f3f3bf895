// The page in a real browser, in a real Cockpit session, on registries of a few cards. What the
// page should say is asked of zovcfg itself, so that the page is held to the utility's answers.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdirSync, readFileSync } from "node:fs";
import { join } from "node:path";
import { after, before, describe, test } from "node:test";
import { ConsoleFixture, ORDINARY_USER } from "./console-fixture.mjs";

const ISA_COM3 = { bus: "isa", base: 0x300, irq: 5, ports: 4, com: 3 };
const PCI_COM7 = { bus: "pci", ports: 8, com: 7, pciBus: 2, slot: 11 };
const TYPICAL = { 1: ISA_COM3, 2: PCI_COM7 };

const fixture = new ConsoleFixture();
const screenshots = process.env.ZOVCFG_SCREENSHOTS;

before(() => fixture.start());
after(() => fixture.stop());

async function screenshot(page, name) {
    const folder = screenshots || join(fixture.scratch, "screenshots");
    mkdirSync(folder, { recursive: true });
    await (await page.$(".zov-page")).screenshot({ path: join(folder, name) });
}

// Each COM cell of the map: the cards drawn there ("1,2", "new" for the preview), its classes
// and the text that hovering shows.
const mapCells = page => page.$$eval(".zov-map-cell", cells => Object.fromEntries(cells.map(cell => [
    cell.dataset.com, { cards: cell.dataset.cards, overlap: cell.classList.contains("zov-overlap"),
        preview: cell.classList.contains("zov-preview"), title: cell.title }])));

const rowNumbers = page => page.$$eval("#card-list tbody tr", rows => rows.map(row => Number(row.dataset.card)));

// Add and Remove are disabled until zovcfg has said whether the user may change cards.
async function click(page, selector) {
    await page.waitForSelector(`${selector}:not([disabled])`);
    await page.click(selector);
}

const textOf = (page, selector) => page.$eval(selector, element => element.textContent);

// Where each problem of `zovcfg check` belongs: the row of its card, or above the table.
async function assertProblemsShown(page, listed) {
    for (const problem of fixture.zovcfg("check").problems || []) {
        const where = listed.includes(problem.card)
            ? `#card-list tr[data-card="${problem.card}"] td[data-label="Problems"]` : "#other-problems";
        assert.ok((await textOf(page, where)).includes(problem.message), `${problem.kind} not shown: ${problem.message}`);
    }
}

test("the page is in the console's menu", () => {
    const packages = execFileSync("cockpit-bridge", ["--packages"], { env: fixture.environment, encoding: "utf8" });
    const manifest = JSON.parse(readFileSync(join(fixture.scratch, "share/cockpit/zovcfg/manifest.json")));
    assert.match(packages, new RegExp(`^zovcfg +${manifest.menu.index.label} +${fixture.scratch}/share/cockpit/zovcfg$`, "m"));
});

describe("the card list and its resource map", () => {
    const cases = [
        { name: "typical", cards: TYPICAL, owners: { 2: "", 3: "1", 6: "1", 7: "2", 14: "2", 15: "", 132: "" },
            bases: ["0x300 Card1"], irqs: ["IRQ 5 Card1"], problems: 0, screenshot: "cockpit-cards.png" },
        { name: "overlap made by other means",
            cards: { 1: ISA_COM3, 2: { bus: "isa", base: 0x310, irq: 5, ports: 4, com: 5 } },
            owners: { 4: "1", 5: "1,2", 6: "1,2", 7: "2", 8: "2", 9: "" },
            bases: ["0x300 Card1", "0x310 Card2"], irqs: ["IRQ 5 Card1, Card2"], problems: 2 },
        { name: "gap hiding the cards after it", cards: { 1: ISA_COM3, 3: PCI_COM7 },
            owners: { 3: "1", 7: "" }, bases: ["0x300 Card1"], irqs: ["IRQ 5 Card1"], problems: 1 },
        { name: "card beyond COM132", cards: { 1: { bus: "pci", ports: 16, com: 125, pciBus: 1, slot: 3 } },
            owners: { 124: "", 125: "1", 140: "1" }, bases: [], irqs: [], problems: 0 },
    ];
    for (const example of cases) {
        test(example.name, async () => {
            fixture.makeRegistry(example.cards);
            const list = fixture.zovcfg("list");
            const page = await fixture.open();
            await page.waitForSelector(".zov-map-cell");
            assert.deepEqual(await rowNumbers(page), list.cards.map(card => card.number));
            const cells = await mapCells(page);
            for (const [com, cards] of Object.entries(example.owners)) {
                assert.equal(cells[com]?.cards, cards, `COM${com}`);
                assert.equal(cells[com].overlap, cards.includes(","), `COM${com} marked as overlap`);
                for (const number of cards.split(",").filter(Boolean)) {
                    assert.match(cells[com].title, new RegExp(`Card${number}:`), `hovering COM${com}`);
                }
            }
            const labels = async id => (await page.$$eval(`[data-testid="${id}"] .pf-v6-c-label[title]:not([title="free"])`,
                                                          found => found.map(label => label.textContent)));
            assert.deepEqual(await labels("base-addresses"), example.bases);
            assert.deepEqual(await labels("irqs"), example.irqs);
            assert.equal((fixture.zovcfg("check").problems || []).length, example.problems);
            await assertProblemsShown(page, list.cards.map(card => card.number));
            await page.evaluate(() => document.fonts.ready);
            assert.deepEqual(page.badFetches, []);
            if (example.screenshot) {
                await screenshot(page, example.screenshot);
            }
            await page.close();
        });
    }
});

describe("adding a card", () => {
    test("a conflict shows zovcfg's refusal under its caption and writes nothing", async () => {
        fixture.makeRegistry(TYPICAL);
        const before = fixture.registryBytes();
        const expected = fixture.zovcfg("add", "isa", "--base", "300", "--irq", "auto", "--ports", "8", "--com", "auto",
                                         "--dry-run").error;
        assert.equal(expected.kind, "base_address_conflict");
        const page = await fixture.open();
        await click(page, "#add-open");
        await page.waitForSelector("#add-base");
        await page.select("#add-base", "0x300");
        await page.waitForSelector("#add-refusal.pf-m-warning");
        await page.click("#add-submit");
        await page.waitForSelector("#add-refusal.pf-m-danger");
        assert.ok((await textOf(page, "#add-refusal .pf-v6-c-alert__title")).includes(expected.caption));
        assert.equal(await textOf(page, "#add-refusal .zov-text"), expected.message);
        assert.deepEqual(fixture.registryBytes(), before);
        assert.deepEqual(await rowNumbers(page), [1, 2]);
        await page.close();
    });

    test("a card that passes is previewed on the map, then written", async () => {
        fixture.makeRegistry(TYPICAL);
        const expected = fixture.zovcfg("add", "isa", "--base", "auto", "--irq", "auto", "--ports", "16", "--com", "auto",
                                         "--dry-run").card;
        const page = await fixture.open();
        await click(page, "#add-open");
        await page.waitForSelector("#add-ports");
        await page.select("#add-ports", "16");
        await page.waitForFunction(() => document.querySelector("#add-preview")?.textContent.includes("16 ports"));
        let cells = await mapCells(page);
        for (let com = expected.first_port; com <= expected.last_port; ++com) {
            assert.equal(cells[com].cards, "new", `COM${com} previewed`);
            assert.ok(cells[com].preview);
        }
        assert.equal(cells[expected.last_port + 1]?.cards ?? "", "");
        const previewed = await page.$$eval(".zov-preview-label", labels => labels.map(label => label.textContent));
        const name = `new Card${expected.number} (preview)`;
        assert.ok(previewed.includes(`0x${expected.base_address.toString(16).toUpperCase()} ${name}`), previewed.join());
        assert.ok(previewed.includes(`IRQ ${expected.irq} ${name}`), previewed.join());
        await screenshot(page, "cockpit-add.png");
        assert.deepEqual(fixture.zovcfg("list").count, 2, "a preview writes nothing");
        await page.click("#add-submit");
        await page.waitForFunction(number => document.querySelector(`#card-list tr[data-card="${number}"]`),
                                   {}, expected.number);
        cells = await mapCells(page);
        assert.equal(cells[expected.first_port].cards, String(expected.number));
        assert.ok(!cells[expected.first_port].preview);
        const added = fixture.zovcfg("list").cards.at(-1);
        assert.deepEqual([added.number, added.bus, added.ports, added.first_port, added.base_address, added.irq],
                         [expected.number, "isa", 16, expected.first_port, expected.base_address, expected.irq]);
        await page.close();
    });
});

test("a removal asks first, then shows the renumbered list", async () => {
    fixture.makeRegistry(TYPICAL);
    const page = await fixture.open();
    await click(page, '#card-list tr[data-card="1"] button');
    await page.waitForSelector("#remove-card");
    assert.match(await textOf(page, "#remove-card"), /Removing Card1.*Card2 becomes Card1/s);
    assert.equal(fixture.zovcfg("list").count, 2, "asking removes nothing");
    await page.click("#remove-confirm");
    await page.waitForFunction(() => document.querySelectorAll("#card-list tbody tr").length === 1);
    assert.match(await textOf(page, "#page-alerts"), /Card1 removed.*Card2 is now Card1/s);
    assert.equal(await textOf(page, '#card-list tr[data-card="1"] td[data-label="COM ports"]'), "COM7 to COM14");
    assert.deepEqual(fixture.zovcfg("list").cards.map(card => card.first_port), [7]);
    await page.close();
});

test("a removal zovcfg refuses is an alert with zovcfg's message", async () => {
    fixture.makeRegistry(TYPICAL);
    const page = await fixture.open();
    await click(page, '#card-list tr[data-card="2"] button');
    await page.waitForSelector("#remove-card");
    // Another administrator removes the card while this one is asking.
    fixture.zovcfg("remove", "2");
    const expected = fixture.zovcfg("remove", "2", "--dry-run").error;
    await page.click("#remove-confirm");
    await page.waitForSelector("#page-alerts .pf-m-danger");
    assert.ok((await textOf(page, "#page-alerts .pf-m-danger")).includes(expected.message));
    await page.waitForFunction(() => document.querySelectorAll("#card-list tbody tr").length === 1);
    await page.close();
});

test("an ordinary user sees everything read-only, with zovcfg's reason", async () => {
    fixture.makeRegistry(TYPICAL);
    const reason = fixture.zovcfgAs(ORDINARY_USER, "add", "pci", "--ports", "4", "--com", "auto", "--dry-run").error;
    assert.equal(reason.kind, "not_administrator");
    const page = await fixture.open(fixture.userUrl);
    await page.waitForSelector("#read-only");
    assert.equal(await textOf(page, "#read-only .zov-text"), reason.message);
    assert.deepEqual(await rowNumbers(page), [1, 2]);
    assert.ok(await page.$eval("#add-open", button => button.disabled));
    assert.deepEqual(await page.$$eval("#card-list tbody button", buttons => buttons.map(button => button.disabled)),
                     [true, true]);
    await page.close();
});

test("a registry zovcfg cannot read is an alert with zovcfg's message", async () => {
    fixture.breakRegistry();
    const expected = fixture.zovcfg("list").error;
    assert.equal(expected.kind, "registry_unreadable");
    const page = await fixture.open(fixture.rootUrl, "#page-alerts .pf-v6-c-alert");
    assert.ok((await textOf(page, "#page-alerts")).includes(expected.message));
    assert.equal(await page.$("#card-list"), null);
    await page.close();
});
