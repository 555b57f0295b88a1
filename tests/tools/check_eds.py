#!/usr/bin/python3
"""Reads a CANopen EDS file strictly, as INI readers of CANopen tools do.

Fails (exit 1, reason on stderr) on a duplicate section or key, a listed object without its
section, a SupportedObjects count that differs from its list, or a SubNumber that differs from
the number of sub-index sections of its object. Prints the section names on success.
"""
import configparser
import re
import sys


def main(path):
    parser = configparser.ConfigParser(strict=True, interpolation=None)
    parser.optionxform = str
    with open(path, 'rb') as f:
        text = f.read().decode('cp1252')
    try:
        parser.read_string(text, source=path)
    except configparser.Error as e:
        print('%s' % e, file=sys.stderr)
        return 1
    problems = []
    for lst in ('MandatoryObjects', 'OptionalObjects', 'ManufacturerObjects'):
        if not parser.has_section(lst):
            problems.append('missing [%s]' % lst)
            continue
        sec = parser[lst]
        count = int(sec.get('SupportedObjects', '-1'))
        listed = [k for k in sec if k != 'SupportedObjects']
        if count != len(listed):
            problems.append('[%s] SupportedObjects=%d lists %d' % (lst, count, len(listed)))
        for k in listed:
            obj = '%04X' % int(sec[k], 16)
            if not parser.has_section(obj):
                problems.append('[%s] %s=%s has no section' % (lst, k, sec[k]))
    for name in parser.sections():
        if not re.fullmatch(r'[0-9A-F]{4}', name):
            continue
        sec = parser[name]
        if 'SubNumber' in sec:
            subs = [s for s in parser.sections() if re.fullmatch(name + r'sub[0-9A-F]+', s)]
            if int(sec['SubNumber']) != len(subs):
                problems.append('[%s] SubNumber=%s has %d sub sections' % (name, sec['SubNumber'], len(subs)))
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        return 1
    print('\n'.join(parser.sections()))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
