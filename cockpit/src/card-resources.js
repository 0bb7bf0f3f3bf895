// What a card takes: its COM range, base address and interrupt, and the colour it is drawn in.
// The choices are those of the settings dialog, as zovcfg(1) lists them; zovcfg checks them.

export const BASE_ADDRESSES = Array.from({ length: 64 }, (_, i) => 0x100 + 0x10 * i);
export const IRQS = [2, 3, 4, 5, 7, 10, 11, 12, 15];
export const PORT_COUNTS = [4, 8, 16];
export const LAST_COM = 132;

const COLOURS = ["#0066cc", "#3e8635", "#f0ab00", "#8476d1", "#009596", "#ec7a08", "#6a6e73", "#b8bbbe"];

export function cardColour(number) {
    return COLOURS[(number - 1) % COLOURS.length];
}

export function hex(value) {
    return `0x${value.toString(16).toUpperCase()}`;
}

// The COM numbers of a card, or none when its first port is not COM and a number.
export function comRange(card) {
    if (card.first_port === null || card.first_port === undefined) {
        return null;
    }
    return { first: card.first_port, last: card.first_port + card.ports - 1 };
}

export function describeCard(card) {
    const range = comRange(card);
    const parts = [card.bus.toUpperCase(), `${card.ports} ports`,
        range ? `COM${range.first} to COM${range.last}` : `first port ${card.first_port_name}`];
    if (card.base_address !== null && card.base_address !== undefined) {
        parts.push(`base address ${hex(card.base_address)}`);
    }
    if (card.irq !== null && card.irq !== undefined) {
        parts.push(`IRQ ${card.irq}`);
    }
    return parts.join(", ");
}
