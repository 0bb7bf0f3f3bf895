#!/usr/bin/python
# One card present or absent, through zovcfg add and zovcfg remove.
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
module: zov_card
short_description: One card of the ZOV serial adapter driver, present or absent
description:
  - Adds a card with C(zovcfg add) unless an identical card is configured already, or removes one
    with C(zovcfg remove), which moves the cards above it down by one number.
  - zovcfg makes every check (base address, interrupt and COM port conflicts, the eight-card limit,
    administrator rights); a refusal fails the task with zovcfg's own message and changes nothing.
  - The module never opens the registry file itself.
version_added: 0.1.0
author: ZOV driver team
extends_documentation_fragment:
  - zov.serial.zovcfg
options:
  state:
    description: Whether the card is configured.
    type: str
    choices: [present, absent]
    default: present
  bus:
    description: The bus of the card; needed for I(state=present).
    type: str
    choices: [isa, pci]
  ports:
    description: The number of ports; needed for I(state=present).
    type: int
    choices: [4, 8, 16]
  first_port:
    description:
      - The first COM port, as C(COM21) or C(21), or C(auto) for the first free one.
      - With I(state=absent), the card whose first port this is gets removed.
    type: str
  base_address:
    description: The I/O base address of an ISA card in hexadecimal (C(0x2A0)), or C(auto).
    type: str
  irq:
    description: The interrupt of an ISA card, or C(auto).
    type: str
  number:
    description:
      - With I(state=absent), the number of the card to remove; the other fields given must match it
        too, so that a second run does not remove the card that moved into its place.
    type: int
notes:
  - Fields left out or C(auto) match any value when looking for an identical card.
  - Check mode runs the command with C(--dry-run); diff mode shows the card list before and after.
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
'''

EXAMPLES = r'''
- name: An ISA card with 8 ports from COM21
  zov.serial.zov_card:
    bus: isa
    ports: 8
    first_port: COM21
    base_address: "0x2A0"
    irq: 5

- name: A PCI card on the first free ports
  zov.serial.zov_card:
    bus: pci
    ports: 16
    first_port: auto

- name: No card from COM21 on
  zov.serial.zov_card:
    state: absent
    first_port: COM21
'''

RETURN = r'''
cards:
  description: The cards after the task, as C(zovcfg list --json) gives them (in check mode, as they would be).
  returned: always
  type: list
  elements: dict
  sample: [{number: 1, bus: isa, ports: 8, first_port: 21, first_port_name: COM21, base_address: 672, irq: 5, pci_bus: null, pci_slot: null}]
result:
  description: The JSON answer of C(zovcfg add) or C(zovcfg remove) when one was run.
  returned: when a card was added or removed
  type: dict
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.zov.serial.plugins.module_utils.zovcfg import (
    CARD_FIELDS, COMMON_ARGS, Zovcfg, after_addition, after_removal, diff, matches)


def main():
    module = AnsibleModule(
        argument_spec=dict(state=dict(type='str', choices=['present', 'absent'], default='present'),
                           number=dict(type='int'), **dict(CARD_FIELDS, **COMMON_ARGS)),
        required_if=[('state', 'present', ('bus', 'ports')),
                     ('state', 'absent', ('number', 'first_port'), True)],
        supports_check_mode=True)
    zovcfg = Zovcfg(module)
    wanted = module.params
    before = zovcfg.cards()
    found = [card for card in before if matches(card, wanted)]
    if (wanted['state'] == 'present') == bool(found):
        module.exit_json(changed=False, cards=before, diff=diff(before, before))

    if wanted['state'] == 'present':
        answer = zovcfg.add(wanted)
        predicted = after_addition(before, answer)
    else:
        answer = zovcfg.remove(found[-1]['number'])
        predicted = after_removal(before, found[-1]['number'])
    after = predicted if module.check_mode else zovcfg.cards()
    changed = module.check_mode or answer.get('changed', False)
    module.exit_json(changed=changed, cards=after, result=answer, diff=diff(before, after))


if __name__ == '__main__':
    main()
