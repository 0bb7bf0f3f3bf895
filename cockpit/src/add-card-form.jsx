// The settings of a new card, with the choices of the settings dialog and "first free" for each.
// Every change asks zovcfg for a dry run: the map previews the card, or the refusal is shown with
// the utility's text under its caption. Add writes it.
import { useEffect, useRef, useState } from "react";
import { Alert } from "@patternfly/react-core/dist/esm/components/Alert/index.js";
import { Button } from "@patternfly/react-core/dist/esm/components/Button/index.js";
import { Card, CardBody, CardTitle } from "@patternfly/react-core/dist/esm/components/Card/index.js";
import { ActionGroup, Form, FormGroup } from "@patternfly/react-core/dist/esm/components/Form/index.js";
import { FormSelect, FormSelectOption } from "@patternfly/react-core/dist/esm/components/FormSelect/index.js";
import { BASE_ADDRESSES, IRQS, LAST_COM, PORT_COUNTS, describeCard, hex } from "./card-resources.js";
import { EXIT_CANNOT_RUN, failureOf, runZovcfg } from "./zovcfg.js";

const FIRST_FREE = "auto";
const COMS = Array.from({ length: LAST_COM }, (_, i) => i + 1);

function addArguments(settings, dryRun) {
    const args = ["add", settings.bus];
    if (settings.bus === "isa") {
        args.push("--base", settings.base, "--irq", settings.irq);
    }
    args.push("--ports", settings.ports, "--com", settings.com);
    return dryRun ? [...args, "--dry-run"] : args;
}

function Choice({ id, label, value, onChange, values, format, firstFree = true }) {
    return (
        <FormGroup label={label} fieldId={id}>
            <FormSelect id={id} value={value} onChange={(_event, chosen) => onChange(chosen)}>
                {firstFree && <FormSelectOption value={FIRST_FREE} label="First free" />}
                {values.map(item => <FormSelectOption key={item} value={String(item)} label={format(item)} />)}
            </FormSelect>
        </FormGroup>
    );
}

export function AddCardForm({ onPreview, onAdded, onFailure, onCancel }) {
    const [settings, setSettings] = useState({ bus: "isa", ports: "8", base: FIRST_FREE, irq: FIRST_FREE, com: FIRST_FREE });
    const [verdict, setVerdict] = useState(null);
    const [busy, setBusy] = useState(false);
    const asked = useRef(0);
    const set = field => value => setSettings(old => ({ ...old, [field]: value }));

    // The answer to the latest question only: an older dry run may come back later.
    const ask = async (dryRun) => {
        const question = ++asked.current;
        const result = await runZovcfg(addArguments(settings, dryRun), { change: true });
        return question === asked.current ? result : null;
    };

    useEffect(() => {
        ask(true).then(result => {
            if (!result) {
                return;
            }
            if (result.exit >= EXIT_CANNOT_RUN) {
                setVerdict({ refused: failureOf(result), final: false });
                onPreview(null);
            } else {
                setVerdict({ card: result.answer.card });
                onPreview(result.answer.card);
            }
        }, onFailure);
    }, [settings]); // eslint-disable-line react-hooks/exhaustive-deps

    const add = async event => {
        event.preventDefault();
        setBusy(true);
        try {
            const result = await ask(false);
            if (result && result.exit >= EXIT_CANNOT_RUN) {
                setVerdict({ refused: failureOf(result), final: true });
            } else if (result) {
                onAdded(result.answer.card);
            }
        } catch (failure) {
            onFailure(failure);
        } finally {
            setBusy(false);
        }
    };

    return (
        <Card id="add-card">
            <CardTitle>Add a card</CardTitle>
            <CardBody>
                <Form isHorizontal onSubmit={add} className="zov-add-form">
                    <Choice id="add-bus" label="Bus" value={settings.bus} onChange={set("bus")} firstFree={false}
                            values={["isa", "pci"]} format={bus => bus.toUpperCase()} />
                    <Choice id="add-ports" label="Ports" value={settings.ports} onChange={set("ports")} firstFree={false}
                            values={PORT_COUNTS} format={count => `${count} ports`} />
                    {settings.bus === "isa" && <>
                        <Choice id="add-base" label="Base address" value={settings.base} onChange={set("base")}
                                values={BASE_ADDRESSES.map(hex)} format={text => text} />
                        <Choice id="add-irq" label="IRQ" value={settings.irq} onChange={set("irq")}
                                values={IRQS} format={irq => `IRQ ${irq}`} />
                    </>}
                    <Choice id="add-com" label="First COM port" value={settings.com} onChange={set("com")}
                            values={COMS} format={com => `COM${com}`} />
                    {verdict?.card &&
                        <Alert variant="info" isInline isPlain id="add-preview"
                               title={`Would be added as Card${verdict.card.number}: ${describeCard(verdict.card)}`} />}
                    {verdict?.refused &&
                        <Alert variant={verdict.final ? "danger" : "warning"} isInline id="add-refusal"
                               title={verdict.refused.title}>
                            <p className="zov-text">{verdict.refused.message}</p>
                        </Alert>}
                    <ActionGroup>
                        <Button type="submit" variant="primary" id="add-submit" isDisabled={busy} isLoading={busy}>Add</Button>
                        <Button variant="link" onClick={onCancel}>Cancel</Button>
                    </ActionGroup>
                </Form>
            </CardBody>
        </Card>
    );
}
