// The confirmation of a removal, named after the card as the dialogs' confirmation is.
import { useState } from "react";
import { Button } from "@patternfly/react-core/dist/esm/components/Button/index.js";
import { Modal, ModalBody, ModalFooter, ModalHeader } from "@patternfly/react-core/dist/esm/components/Modal/index.js";
import { describeCard } from "./card-resources.js";

export function RemoveCardModal({ card, count, onRemove, onClose }) {
    const [busy, setBusy] = useState(false);
    const moved = Array.from({ length: count - card.number }, (_, i) => card.number + 1 + i);
    const remove = () => {
        setBusy(true);
        onRemove(card).finally(() => setBusy(false));
    };
    return (
        <Modal isOpen variant="small" onClose={onClose} id="remove-card" aria-labelledby="remove-card-title">
            <ModalHeader title={`Removing Card${card.number}`} labelId="remove-card-title" titleIconVariant="warning" />
            <ModalBody>
                <p>Do you want to continue removing Card{card.number} ({describeCard(card)})?</p>
                {moved.length > 0 &&
                    <p>{moved.map(number => `Card${number} becomes Card${number - 1}`).join(", ")}.</p>}
            </ModalBody>
            <ModalFooter>
                <Button variant="danger" id="remove-confirm" onClick={remove} isDisabled={busy} isLoading={busy}>
                    Remove
                </Button>
                <Button variant="link" onClick={onClose} isDisabled={busy}>Cancel</Button>
            </ModalFooter>
        </Modal>
    );
}
