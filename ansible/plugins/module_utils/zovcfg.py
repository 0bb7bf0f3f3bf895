# The glue the zov.serial modules share: run zovcfg with --json and read its answer.
# zovcfg makes every check and every change; nothing here reads or writes the registry.
from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json

EXIT_UNCHANGED, EXIT_CHANGED = 0, 1

COMMON_ARGS = dict(
    registry=dict(type='path'),
    zovcfg=dict(type='path', default='zovcfg'),
)

CARD_FIELDS = dict(
    bus=dict(type='str', choices=['isa', 'pci']),
    ports=dict(type='int', choices=[4, 8, 16]),
    first_port=dict(type='str'),
    base_address=dict(type='str'),
    irq=dict(type='str'),
)


class Zovcfg:
    def __init__(self, module):
        self.module = module
        self.program = module.params['zovcfg']
        registry = module.params.get('registry')
        self.environ = {'ZOVCFG_REGISTRY': registry} if registry else {}
        self.done_so_far = dict  # what a failure reports besides zovcfg's error
        self.refusals_accepted = ()  # error kinds that are an answer rather than a failure

    def run(self, *args):
        """The JSON answer of one command; fails the task with zovcfg's own message on a refusal."""
        command = [self.program] + list(args) + ['--json']
        try:
            rc, out, err = self.module.run_command(command, environ_update=self.environ)
        except OSError as error:
            self.module.fail_json(msg='cannot run %s: %s' % (self.program, error))
        try:
            answer = json.loads(out)
        except ValueError:
            self.module.fail_json(msg=err.strip() or 'zovcfg gave no JSON answer', rc=rc,
                                  command=command)
        error = answer.get('error') or {}
        accepted = error.get('kind') in self.refusals_accepted
        if rc not in (EXIT_UNCHANGED, EXIT_CHANGED) and not accepted:
            self.module.fail_json(msg=error.get('message') or err.strip(), rc=rc, command=command,
                                  error=error, answer=answer, **self.done_so_far())
        return answer

    def cards(self):
        return self.run('list')['cards']

    def add(self, card):
        args = ['add', card['bus'], '--ports', str(card['ports']),
                '--com', text_or_auto(card.get('first_port'))]
        if card['bus'] == 'isa':
            args += ['--base', text_or_auto(card.get('base_address')),
                     '--irq', text_or_auto(card.get('irq'))]
        return self.run(*(args + self.dry_run()))

    def remove(self, number):
        return self.run(*(['remove', str(number)] + self.dry_run()))

    def dry_run(self):
        return ['--dry-run'] if self.module.check_mode else []


def text_or_auto(value):
    return 'auto' if value is None else str(value)


def wanted_value(field, value):
    """The value a configured card must have, or None where any value will do (auto, not given)."""
    if value is None or str(value).strip().lower() == 'auto':
        return None
    text = str(value).strip()
    try:
        if field == 'first_port':
            return int(text[3:] if text.upper().startswith('COM') else text)
        if field == 'base_address':
            return int(text, 16)
        return int(text) if field in ('ports', 'irq') else text
    except ValueError:
        return text  # matches nothing, so zovcfg gets to refuse it with its own message


def matches(card, wanted):
    """Whether a configured card (as zovcfg list gives it) is the card asked for."""
    for field in ('number', 'bus', 'ports', 'first_port', 'base_address', 'irq'):
        value = wanted_value(field, wanted.get(field))
        if value is not None and card.get(field) != value:
            return False
    return True


def after_removal(cards, number):
    """The list as it is once card number is removed and the cards above it moved down."""
    return [dict(card, number=card['number'] - (card['number'] > number))
            for card in cards if card['number'] != number]


def after_addition(cards, answer):
    card = dict((field, answer['card'].get(field)) for field in
                ('number', 'bus', 'ports', 'first_port', 'first_port_name', 'base_address', 'irq'))
    return cards + [card]


def diff(before, after):
    return dict(before=dict(cards=before), after=dict(cards=after))
