#!/usr/bin/python3
"""Reads a MIB module with pysmi's SMIv2 parser, as an SNMP manager's compiler would.

Prints one line per definition: name, kind, parent, sub-identifier. Exits with 1 when the
module does not parse or a name is defined twice (names compared without regard to case).
"""
import sys

from pysmi.parser.dialect import smiV2
from pysmi.parser.smi import parserFactory


def main(path):
    with open(path, 'rb') as f:
        text = f.read().decode('cp1252')
    try:
        modules = parserFactory(**smiV2)().parse(text)
    except Exception as e:  # the parser raises its own error types
        print('parse error: %s' % e, file=sys.stderr)
        return 1
    seen = set()
    status = 0
    for module in modules:
        for clause in module[3]:
            kind, name = clause[0], clause[1]
            oid = clause[-1]
            parent, sub = '-', '-'
            if isinstance(oid, tuple) and oid and oid[0] == 'objectIdentifier':
                parts = oid[1]
                parent, sub = str(parts[0]), str(parts[-1])
            print('%s %s %s %s' % (name, kind, parent, sub))
            if name.lower() in seen:
                print('duplicate name: %s' % name, file=sys.stderr)
                status = 1
            seen.add(name.lower())
    return status


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
