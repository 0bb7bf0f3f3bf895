# The options every zov.serial module has: where zovcfg and its registry are.
from __future__ import absolute_import, division, print_function

__metaclass__ = type


class ModuleDocFragment(object):
    DOCUMENTATION = r'''
options:
  registry:
    description: The registry file (C(ZOVCFG_REGISTRY)); zovcfg's default when not given.
    type: path
  zovcfg:
    description: The path of the zovcfg program.
    type: path
    default: zovcfg
'''
