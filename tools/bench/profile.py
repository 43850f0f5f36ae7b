#!/usr/bin/env python3
"""Resolves the stacks a benchmark Profile wrote (VELMORA_BENCH_PROFILE) against the executable's
symbols and prints, per profiled region, the functions by inclusive and by own samples.
Usage: profile.py EXE STACKS [TOP] [FILTER]"""
import bisect, collections, subprocess, sys

exe, stacks = sys.argv[1], sys.argv[2]
top = int(sys.argv[3]) if len(sys.argv) > 3 else 40
want = sys.argv[4] if len(sys.argv) > 4 else None
# Only the samples with a frame whose name holds this text, counted as a share of all samples.
under = sys.argv[5] if len(sys.argv) > 5 else None
syms = []
for line in subprocess.run(["x86_64-w64-mingw32-nm", "-C", "--defined-only", exe], capture_output=True,
                           text=True).stdout.splitlines():
    parts = line.split(" ", 2)
    if len(parts) == 3 and parts[1] in "tTwW":
        syms.append((int(parts[0], 16), parts[2]))
syms.sort()
addrs = [a for a, _ in syms]
hi = addrs[-1] if addrs else 0

modules = []

def name(pc):
    if not addrs or pc < addrs[0] or pc > hi + 0x100000:
        for base, size, file in modules:
            if base <= pc < base + size:
                return "[%s]" % file
        return "[system %x]" % (pc >> 20 << 20)
    n = syms[bisect.bisect_right(addrs, pc) - 1][1]
    return n.replace("std::__cxx11::basic_string<wchar_t, std::char_traits<wchar_t>, std::allocator<wchar_t> >", "wstring")[:160]

region = None
regions = collections.OrderedDict()
for line in open(stacks):
    if line.startswith("@"):
        _, base, size, file = line.split(" ", 3)
        modules.append((int(base, 16), int(size, 16), file.strip().split("\\")[-1]))
        continue
    if line.startswith("#"):
        region = line[2:].strip()
        regions.setdefault(region, [])
        continue
    pcs = [int(x, 16) for x in line.split()]
    if pcs:
        regions[region].append(pcs)
for region, samples in regions.items():
    if want and want not in region:
        continue
    inc, own = collections.Counter(), collections.Counter()
    for pcs in samples:
        names = [name(pc) for pc in pcs]
        if under and not any(under in n for n in names):
            continue
        own[names[0]] += 1
        for n in set(names):
            inc[n] += 1
    total = len(samples) or 1
    print("== %s: %d samples" % (region, len(samples)))
    print("-- inclusive")
    for n, c in inc.most_common(top):
        print("%5.1f%% %s" % (100.0 * c / total, n))
    print("-- own")
    for n, c in own.most_common(top // 2):
        print("%5.1f%% %s" % (100.0 * c / total, n))
