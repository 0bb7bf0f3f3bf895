// The page: the cards with their problems, the resource map, Add and Remove; read-only, with
// the utility's reason, for a user who may not change the cards.
import { useCallback, useEffect, useState } from "react";
import { Alert, AlertActionCloseButton, AlertGroup } from "@patternfly/react-core/dist/esm/components/Alert/index.js";
import { Button } from "@patternfly/react-core/dist/esm/components/Button/index.js";
import { Title } from "@patternfly/react-core/dist/esm/components/Title/index.js";
import { Stack, StackItem } from "@patternfly/react-core/dist/esm/layouts/Stack/index.js";
import { AddCardForm } from "./add-card-form.jsx";
import { describeCard } from "./card-resources.js";
import { CardTable } from "./card-table.jsx";
import { RemoveCardModal } from "./remove-card-modal.jsx";
import { ResourceMap } from "./resource-map.jsx";
import { EXIT_CANNOT_RUN, EXIT_REFUSED, answerOf, failureOf, runZovcfg } from "./zovcfg.js";

const cockpit = window.cockpit;

// Whether the caller may change cards, as zovcfg answers a dry run of an add: null when it may,
// else the utility's reason. Every other answer means the add would get as far as its checks.
async function refusalToChange() {
    const result = await runZovcfg(["add", "pci", "--ports", "4", "--com", "auto", "--dry-run"], { change: true });
    const failure = result.exit >= EXIT_CANNOT_RUN ? failureOf(result) : null;
    if (failure?.kind === "not_administrator") {
        return failure.message;
    }
    if (result.exit === EXIT_CANNOT_RUN) {
        throw failure;
    }
    return null;
}

// The problems `zovcfg check` finds: its exit 3 with problems_found is an answer, not a failure.
async function checkProblems() {
    const result = await runZovcfg(["check"]);
    if (result.exit === EXIT_REFUSED && result.answer.error?.kind === "problems_found") {
        return result.answer.problems;
    }
    if (result.exit >= EXIT_CANNOT_RUN) {
        throw failureOf(result);
    }
    return result.answer.problems;
}

export function App() {
    const [list, setList] = useState(null);
    const [problems, setProblems] = useState([]);
    const [readOnlyReason, setReadOnlyReason] = useState(undefined);
    const [alerts, setAlerts] = useState([]);
    const [adding, setAdding] = useState(false);
    const [preview, setPreview] = useState(null);
    const [removing, setRemoving] = useState(null);

    // One alert for one failure, also when two commands run into it.
    const alert = useCallback((variant, title, message) => {
        setAlerts(old => (old.some(shown => shown.title === title && shown.message === message)
            ? old : [...old, { key: Date.now() + Math.random(), variant, title, message }]));
    }, []);
    const fail = useCallback(failure => alert("danger", failure.title || "Error", failure.message), [alert]);

    const load = useCallback(() => Promise.all([answerOf(["list"]), checkProblems()])
            .then(([listed, found]) => {
                setList(listed);
                setProblems(found);
            }, fail), [fail]);
    const probe = useCallback(() => refusalToChange().then(setReadOnlyReason, fail), [fail]);

    useEffect(() => {
        load();
        probe();
        // Administrative access can be turned on and off while the page is open.
        const superuser = cockpit.dbus(null, { bus: "internal" }).proxy("cockpit.Superuser", "/superuser");
        superuser.addEventListener("changed", probe);
        return () => superuser.removeEventListener("changed", probe);
    }, [load, probe]);

    const closeAdd = () => {
        setAdding(false);
        setPreview(null);
    };
    const added = card => {
        closeAdd();
        alert("success", `Card${card.number} added`, describeCard(card));
        load();
    };
    const remove = card => answerOf(["remove", String(card.number)], { change: true })
            .then(answer => {
                const moves = answer.renumbered.map(move => `Card${move.from} is now Card${move.to}.`);
                alert("success", `Card${answer.card} removed`, moves.join(" "));
                if (answer.warning) {
                    alert("warning", `Card${answer.card} removed, with something left to do`, answer.warning);
                }
            }, fail)
            .finally(() => {
                setRemoving(null);
                load();
            });

    const readOnly = readOnlyReason !== null;
    return (
        <div className="zov-page">
            <Title headingLevel="h1">ZOV serial cards</Title>
            <AlertGroup isToast={false} id="page-alerts">
                {alerts.map(({ key, variant, title, message }) => (
                    <Alert key={key} variant={variant} title={title} isInline
                           actionClose={<AlertActionCloseButton onClose={() => setAlerts(old => old.filter(a => a.key !== key))} />}>
                        {message && <p className="zov-text">{message}</p>}
                    </Alert>
                ))}
            </AlertGroup>
            <Stack hasGutter>
                {readOnlyReason &&
                    <StackItem>
                        <Alert variant="info" isInline id="read-only" title="Read-only: changing cards needs administrator rights">
                            <p className="zov-text">{readOnlyReason}</p>
                        </Alert>
                    </StackItem>}
                {list && <StackItem><ResourceMap cards={list.cards} preview={adding ? preview : null} /></StackItem>}
                {adding && !readOnly &&
                    <StackItem>
                        <AddCardForm onPreview={setPreview} onAdded={added} onFailure={fail} onCancel={closeAdd} />
                    </StackItem>}
                {list &&
                    <StackItem>
                        {!adding &&
                            <Button id="add-open" variant="primary" isDisabled={readOnly} onClick={() => setAdding(true)}>
                                Add card
                            </Button>}
                    </StackItem>}
                {list &&
                    <StackItem>
                        <CardTable list={list} problems={problems} readOnly={readOnly} onRemove={setRemoving} />
                    </StackItem>}
            </Stack>
            {removing && <RemoveCardModal card={removing} count={list.count} onRemove={remove} onClose={() => setRemoving(null)} />}
        </div>
    );
}
