#!/usr/bin/env python3
"""Prints a fuzz input as the replay test writes it: hexadecimal bytes, with
a run of one byte repeated more than 8 times written as BB*COUNT."""
import sys

data = open(sys.argv[1], 'rb').read()
out, i = [], 0
while i < len(data):
    j = i
    while j < len(data) and data[j] == data[i]:
        j += 1
    if j - i > 8:
        out.append('%02x*%d' % (data[i], j - i))
        i = j
    else:
        k = i
        while k < len(data) and not (k + 8 < len(data) and len(set(data[k:k + 9])) == 1):
            k += 1
        raw = data[i:k].hex()
        out.extend(raw[n:n + 96] for n in range(0, len(raw), 96))
        i = k
lines, line = [], ''
for token in out:
    if line and len(line) + 1 + len(token) > 96:
        lines.append(line)
        line = ''
    line = token if not line else line + ' ' + token
print('\n'.join(lines + [line]))
