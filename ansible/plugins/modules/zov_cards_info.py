#!/usr/bin/python
# The cards and the problems zovcfg check finds, for playbooks to look at.
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
module: zov_cards_info
short_description: The cards of the ZOV serial adapter driver and the problems of their configuration
description:
  - Reads the cards with C(zovcfg list) and the problems with C(zovcfg check); changes nothing.
  - Problems found are results, not a failure; a registry that cannot be read fails the task.
version_added: 0.1.0
author: ZOV driver team
extends_documentation_fragment:
  - zov.serial.zovcfg
attributes:
  check_mode:
    support: full
  diff_mode:
    support: none
'''

EXAMPLES = r'''
- name: Read the cards
  zov.serial.zov_cards_info:
  register: zov

- name: Stop where the configuration has problems
  ansible.builtin.assert:
    that: zov.problems | length == 0
    fail_msg: "{{ zov.problems | map(attribute='message') | list }}"
'''

RETURN = r'''
cards:
  description: The cards, as C(zovcfg list --json) gives them.
  returned: always
  type: list
  elements: dict
count:
  description: The cards counted, a card counted but not listed included.
  returned: always
  type: int
problems:
  description: The problems C(zovcfg check --json) finds, each with card, kind and message.
  returned: always
  type: list
  elements: dict
  sample: [{card: 2, kind: port_range_overlap, message: "..."}]
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.zov.serial.plugins.module_utils.zovcfg import COMMON_ARGS, Zovcfg

PROBLEMS_FOUND = 'problems_found'


def main():
    module = AnsibleModule(argument_spec=dict(COMMON_ARGS), supports_check_mode=True)
    zovcfg = Zovcfg(module)
    listing = zovcfg.run('list')
    zovcfg.refusals_accepted = (PROBLEMS_FOUND,)
    check = zovcfg.run('check')
    module.exit_json(changed=False, cards=listing['cards'], count=listing['count'],
                     problems=check.get('problems', []))


if __name__ == '__main__':
    main()
