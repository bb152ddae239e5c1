#!/usr/bin/env python3
"""Runs benchmark binaries by turns and prints each benchmark's minimum and
median per binary, and for a benchmark that reports its fastest single step
(fastest_ms) the fastest of all runs. On a shared machine a figure drifts by
two times within an hour; runs taken by turns drift together, so their
ratios still say what a change did.

    bench/side_by_side.py FILTER ROUNDS BINARY [BINARY ...]
"""
import collections
import re
import subprocess
import sys

UNITS = {'ns': 1e-6, 'us': 1e-3, 'ms': 1.0, 's': 1e3}


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    pattern, rounds, binaries = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    times = collections.defaultdict(lambda: collections.defaultdict(list))
    fastest = collections.defaultdict(dict)
    for _ in range(rounds):
        for binary in binaries:
            run = subprocess.run([binary, '--benchmark_filter=' + pattern, '--benchmark_min_time=0.2'],
                                 capture_output=True, text=True, check=True)
            for line in run.stdout.splitlines():
                m = re.match(r'(BM_\S+)\s+([\d.]+) (ns|us|ms|s)\b', line)
                if m:
                    times[m.group(1)][binary].append(float(m.group(2)) * UNITS[m.group(3)])
                    f = re.search(r'fastest_ms=([\d.]+)([kmu]?)', line)
                    if f:
                        v = float(f.group(1)) * {'': 1, 'k': 1e3, 'm': 1e-3, 'u': 1e-6}[f.group(2)]
                        fastest[m.group(1)][binary] = min(v, fastest[m.group(1)].get(binary, v))
    for name, per_binary in times.items():
        cells = []
        for binary in binaries:
            v = sorted(per_binary[binary])
            cell = 'min %8.3f ms  median %8.3f ms' % (v[0], v[len(v) // 2]) if v else 'none'
            if binary in fastest[name]:
                cell += '  fastest step %8.3f ms' % fastest[name][binary]
            cells.append(cell)
        print(name.ljust(40), ' | '.join(cells))


if __name__ == '__main__':
    main()
