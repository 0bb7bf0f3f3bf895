// The resource map: COM1 to COM132 (further where a card reaches) as a strip, each card's range
// in its colour, ports that two cards claim marked; the base addresses and interrupts beside it.
import { Card, CardBody, CardTitle } from "@patternfly/react-core/dist/esm/components/Card/index.js";
import { Label } from "@patternfly/react-core/dist/esm/components/Label/index.js";
import { Title } from "@patternfly/react-core/dist/esm/components/Title/index.js";
import { Flex, FlexItem } from "@patternfly/react-core/dist/esm/layouts/Flex/index.js";
import { IRQS, LAST_COM, cardColour, comRange, describeCard, hex } from "./card-resources.js";

const cardName = card => (card.preview ? `new Card${card.number} (preview)` : `Card${card.number}`);

function takers(cards, valueOf) {
    const byValue = new Map();
    for (const card of cards) {
        const value = valueOf(card);
        if (value !== null && value !== undefined) {
            byValue.set(value, [...(byValue.get(value) || []), card]);
        }
    }
    return byValue;
}

function Cell({ com, owners }) {
    const names = owners.map(card => `${cardName(card)}: ${describeCard(card)}`);
    const classes = ["zov-map-cell"];
    let style;
    if (owners.length > 1) {
        classes.push("zov-overlap");
    } else if (owners.length === 1) {
        classes.push(owners[0].preview ? "zov-preview" : "zov-taken");
        style = { "--zov-card-colour": cardColour(owners[0].number) };
    }
    const title = names.length === 0
        ? `COM${com}: free`
        : `COM${com}: ${names.join("; ")}${owners.length > 1 ? " (overlap)" : ""}`;
    return (
        <div className={classes.join(" ")} style={style} title={title} data-com={com}
             data-cards={owners.map(card => (card.preview ? "new" : card.number)).join(",")} />
    );
}

// The values of one resource that cards take, each with its cards; `shown` lists every value of
// the resource where the free ones are worth seeing too.
function ResourceLabels({ title, byValue, shown, format, testId }) {
    const values = shown || [...byValue.keys()].sort((a, b) => a - b);
    return (
        <div className="zov-map-resources" data-testid={testId}>
            <Title headingLevel="h3" size="md">{title}</Title>
            <Flex spaceItems={{ default: "spaceItemsXs" }}>
                {values.map(value => {
                    const cards = byValue.get(value) || [];
                    const classes = cards.length > 1 ? "zov-shared" : cards[0]?.preview ? "zov-preview-label" : "";
                    return (
                        <FlexItem key={value}>
                            <Label className={classes} isCompact={cards.length === 0}
                                   style={cards.length ? { "--zov-card-colour": cardColour(cards[0].number) } : undefined}
                                   title={cards.length ? cards.map(card => `${cardName(card)}: ${describeCard(card)}`).join("; ") : "free"}>
                                {format(value)}{cards.length ? ` ${cards.map(cardName).join(", ")}` : ""}
                            </Label>
                        </FlexItem>
                    );
                })}
                {values.length === 0 && <FlexItem>none taken</FlexItem>}
            </Flex>
        </div>
    );
}

export function ResourceMap({ cards, preview }) {
    const all = preview ? [...cards, { ...preview, preview: true }] : cards;
    const extent = Math.max(LAST_COM, ...all.map(card => comRange(card)?.last || 0));
    const owners = Array.from({ length: extent + 1 }, () => []);
    for (const card of all) {
        const range = comRange(card);
        for (let com = range?.first; range && com <= range.last; ++com) {
            owners[com].push(card);
        }
    }
    // A label every 12 ports, none so close to the last that the two would overlap.
    const ticks = [1, ...Array.from({ length: Math.ceil((extent - 12) / 12) - 1 }, (_, i) => 12 * (i + 1)), extent];
    return (
        <Card id="resource-map">
            <CardTitle>Resource map</CardTitle>
            <CardBody className="zov-map-layout">
                <div>
                <div className="zov-map-strip" style={{ gridTemplateColumns: `repeat(${extent}, minmax(0, 1fr))` }}>
                    {owners.slice(1).map((cardsHere, i) => <Cell key={i + 1} com={i + 1} owners={cardsHere} />)}
                    {ticks.map(com => (
                        <span key={`tick${com}`} className={com === extent ? "zov-map-tick zov-map-tick-last" : "zov-map-tick"}
                              style={{ gridColumn: `${com}` }}>COM{com}</span>
                    ))}
                </div>
                <Flex className="zov-map-legend" spaceItems={{ default: "spaceItemsMd" }}>
                    {all.map(card => (
                        <FlexItem key={cardName(card)} className={card.preview ? "zov-preview-label" : ""}
                                  style={{ "--zov-card-colour": cardColour(card.number) }}>
                            <span className="zov-swatch" /> {cardName(card)}: {describeCard(card)}
                        </FlexItem>
                    ))}
                    {owners.some(cardsHere => cardsHere.length > 1) &&
                        <FlexItem><span className="zov-swatch zov-overlap" /> ports that two cards claim</FlexItem>}
                </Flex>
                </div>
                <div>
                <ResourceLabels title="Base addresses" testId="base-addresses" format={hex}
                                byValue={takers(all, card => card.base_address)} />
                <ResourceLabels title="Interrupts" testId="irqs" format={irq => `IRQ ${irq}`}
                                byValue={takers(all, card => card.irq)} shown={IRQS} />
                </div>
            </CardBody>
        </Card>
    );
}
