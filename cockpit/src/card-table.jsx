// The card list as `zovcfg list` gives it, each card with the problems `zovcfg check` reports
// for it, and the problems of cards the list does not reach or of the whole configuration.
import { Alert } from "@patternfly/react-core/dist/esm/components/Alert/index.js";
import { Button } from "@patternfly/react-core/dist/esm/components/Button/index.js";
import { Card, CardBody, CardTitle } from "@patternfly/react-core/dist/esm/components/Card/index.js";
import { List, ListItem } from "@patternfly/react-core/dist/esm/components/List/index.js";
import { ExclamationTriangleIcon } from "@patternfly/react-icons/dist/esm/icons/exclamation-triangle-icon.js";
import "@patternfly/react-styles/css/components/Table/table.css";
import { cardColour, comRange, hex } from "./card-resources.js";

const shown = value => (value === null || value === undefined ? "-" : value);
const shownHex = value => (value === null || value === undefined ? "-" : hex(value));

function firstPort(card) {
    const range = comRange(card);
    return range ? `COM${range.first} to COM${range.last}` : card.first_port_name || "-";
}

export function CardTable({ list, problems, onRemove, readOnly }) {
    const listed = new Set(list.cards.map(card => card.number));
    const elsewhere = problems.filter(problem => !listed.has(problem.card));
    return (
        <Card id="card-list">
            <CardTitle>{list.count === 1 ? "1 card" : `${list.count} cards`}</CardTitle>
            <CardBody>
                {elsewhere.length > 0 &&
                    <Alert variant="warning" isInline title="zovcfg check found problems" id="other-problems">
                        <List>
                            {elsewhere.map((problem, i) => (
                                <ListItem key={i} className="zov-text">
                                    {problem.card === null ? "" : `Card${problem.card}: `}{problem.message}
                                </ListItem>
                            ))}
                        </List>
                    </Alert>}
                <div className="zov-table-scroll">
                <table className="pf-v6-c-table pf-m-compact" aria-label="Cards">
                    <thead className="pf-v6-c-table__thead">
                        <tr className="pf-v6-c-table__tr">
                            {["Card", "Bus", "Ports", "COM ports", "Base address", "IRQ", "PCI bus", "PCI slot",
                                "Problems", ""].map(name => (
                                <th key={name} className="pf-v6-c-table__th pf-m-nowrap" scope="col">{name}</th>
                            ))}
                        </tr>
                    </thead>
                    <tbody className="pf-v6-c-table__tbody">
                        {list.cards.map(card => (
                            <tr key={card.number} className="pf-v6-c-table__tr" data-card={card.number}>
                                <td className="pf-v6-c-table__td" data-label="Card">
                                    <span className="zov-swatch" style={{ "--zov-card-colour": cardColour(card.number) }} />
                                    {` Card${card.number}`}
                                </td>
                                <td className="pf-v6-c-table__td" data-label="Bus">{card.bus.toUpperCase()}</td>
                                <td className="pf-v6-c-table__td" data-label="Ports">{card.ports}</td>
                                <td className="pf-v6-c-table__td" data-label="COM ports">{firstPort(card)}</td>
                                <td className="pf-v6-c-table__td" data-label="Base address">{shownHex(card.base_address)}</td>
                                <td className="pf-v6-c-table__td" data-label="IRQ">{shown(card.irq)}</td>
                                <td className="pf-v6-c-table__td" data-label="PCI bus">{shown(card.pci_bus)}</td>
                                <td className="pf-v6-c-table__td" data-label="PCI slot">{shown(card.pci_slot)}</td>
                                <td className="pf-v6-c-table__td zov-text" data-label="Problems">
                                    {problems.filter(problem => problem.card === card.number)
                                            .map((problem, i) => (
                                                <div key={i} className="zov-problem"><ExclamationTriangleIcon />{problem.message}</div>
                                            ))}
                                </td>
                                <td className="pf-v6-c-table__td pf-v6-c-table__action">
                                    <Button variant="secondary" isDanger size="sm" isDisabled={readOnly}
                                            onClick={() => onRemove(card)}>Remove</Button>
                                </td>
                            </tr>
                        ))}
                    </tbody>
                </table>
                </div>
                {list.count === 0 && <p className="zov-empty">No ZOV cards are configured on this system.</p>}
            </CardBody>
        </Card>
    );
}
