#!/usr/bin/python
# The whole set of a machine's cards: add the missing ones and, when exclusive, remove the others.
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
module: zov_cards
short_description: The whole set of cards of the ZOV serial adapter driver on a machine
description:
  - Compares the cards configured with the list asked for. With I(exclusive=true) it removes every
    configured card that is not in the list, highest number first, with C(zovcfg remove); then it
    adds every card of the list that is not configured, in list order, with C(zovcfg add).
  - zovcfg makes every check; the first refusal fails the task with zovcfg's own message. The
    changes made before it stay, each one a transaction of its own, and the result lists them.
  - The module never opens the registry file itself.
version_added: 0.1.0
author: ZOV driver team
extends_documentation_fragment:
  - zov.serial.zovcfg
options:
  cards:
    description: The cards, each with the card fields of M(zov.serial.zov_card).
    type: list
    elements: dict
    required: true
    suboptions:
      bus:
        description: The bus of the card.
        type: str
        choices: [isa, pci]
        required: true
      ports:
        description: The number of ports.
        type: int
        choices: [4, 8, 16]
        required: true
      first_port:
        description: The first COM port, as C(COM21) or C(21), or C(auto).
        type: str
      base_address:
        description: The I/O base address of an ISA card in hexadecimal, or C(auto).
        type: str
      irq:
        description: The interrupt of an ISA card, or C(auto).
        type: str
  exclusive:
    description: Remove the configured cards that are not in I(cards).
    type: bool
    default: false
notes:
  - Fields left out or C(auto) match any value, so a second run leaves cards added with C(auto) alone.
  - Check mode runs each command with C(--dry-run) against the cards as they are; after a removal the
    additions are only listed there, since zovcfg checks them against cards that would be gone.
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
'''

EXAMPLES = r'''
- name: Exactly these two cards
  zov.serial.zov_cards:
    exclusive: true
    cards:
      - {bus: isa, ports: 8, first_port: COM21, base_address: "0x2A0", irq: 5}
      - {bus: pci, ports: 16, first_port: auto}
'''

RETURN = r'''
cards:
  description: The cards after the task, as C(zovcfg list --json) gives them (in check mode, as they would be).
  returned: always
  type: list
  elements: dict
removed:
  description: The JSON answers of the removals, in the order they were made.
  returned: always
  type: list
  elements: dict
added:
  description: The JSON answers of the additions, in the order they were made.
  returned: always
  type: list
  elements: dict
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.zov.serial.plugins.module_utils.zovcfg import (
    CARD_FIELDS, COMMON_ARGS, Zovcfg, after_addition, after_removal, diff, matches)


def plan(configured, wanted):
    """The configured cards no wanted card matches, and the wanted cards no configured card matches."""
    unmatched = list(configured)
    missing = []
    for card in wanted:
        found = next((known for known in unmatched if matches(known, card)), None)
        if found is None:
            missing.append(card)
        else:
            unmatched.remove(found)
    return unmatched, missing


def made(answer):
    return answer.get('changed', False)


def main():
    card_spec = dict(CARD_FIELDS)
    card_spec['bus'] = dict(card_spec['bus'], required=True)
    card_spec['ports'] = dict(card_spec['ports'], required=True)
    module = AnsibleModule(
        argument_spec=dict(cards=dict(type='list', elements='dict', required=True,
                                      options=card_spec),
                           exclusive=dict(type='bool', default=False), **COMMON_ARGS),
        supports_check_mode=True)
    zovcfg = Zovcfg(module)
    before = zovcfg.cards()
    extra, missing = plan(before, module.params['cards'])
    if not module.params['exclusive']:
        extra = []

    predicted, removed, added = before, [], []

    def done_so_far():
        changed = any(made(answer) for answer in removed + added)
        return dict(removed=removed, added=added, changed=changed)

    zovcfg.done_so_far = done_so_far
    for card in sorted(extra, key=lambda known: known['number'], reverse=True):
        removed.append(zovcfg.remove(card['number']))
        predicted = after_removal(predicted, card['number'])
    for card in missing:
        if module.check_mode and removed:
            listed = dict(card, number=len(predicted) + 1)
            added.append(dict(card=listed, dry_run=True, changed=False))
            predicted = predicted + [listed]
            continue
        added.append(zovcfg.add(card))
        predicted = after_addition(predicted, added[-1])
    after = predicted if module.check_mode else zovcfg.cards()
    changed = any(module.check_mode or made(answer) for answer in removed + added)
    module.exit_json(changed=changed, cards=after, removed=removed, added=added,
                     diff=diff(before, after))


if __name__ == '__main__':
    main()
