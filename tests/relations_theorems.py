#!/usr/bin/python3
"""Classical theorems against the relation finder.

Every diagram under the theorem folder is sampled with `tessarin-cli
relations`; the MANIFEST names the relations each one is known for (they
must be reported) and the traps (relations that hold only in the position
the file gives, which must not be reported, and which the report of that
position alone, without samples, must show: else the trap tests nothing).

    relations_theorems.py CLI DIR [--summary] [--only FILE] [--verbose]

With --summary the summary is read instead of the full report, and it must
also put the theorem first: in at least 90 % of the theorems every known
relation is among the first five entries, the median summary has at most 8
entries and none more than 40, and its first line counts its entries.

MANIFEST lines: "FILE | known | HEADING | ITEMS", "FILE | trap | HEADING |
ITEMS", or "FILE | known | SENTENCE" for the one-line relations (harmonic
sets, inverse pairs). A report is cut into entries: a group under its
heading, each right angle, each ratio line, each sentence. A relation is
found when one entry under its heading holds all its items.
"""
import os
import re
import subprocess
import sys

ITEM = re.compile(r"\([^()]*\)|\[[^\[\]]*\]|[^\s\[\]()]+")
ONE_PER_ITEM = {"Right angles:"}
ONE_PER_LINE = {"Ratios:", "Triangle area ratios:"}
HARMONIC = re.compile(r"^Points \[(\S+) (\S+), (\S+) (\S+)\] form an harmonic set\.$")


def item(token):
    """An item in a form that ignores what the report may write either way."""
    if token.startswith("["):
        return "[" + " ".join(sorted(token[1:-1].split())) + "]"
    if token.startswith("(") and " " in token:
        e = token[1:-1].split()
        if len(e) == 3:  # an angle: its ends in either order
            return "(%s %s %s)" % (min(e[0], e[2]), e[1], max(e[0], e[2]))
    return token


def product_line(text):
    """A ratio line "X x Y = Z x W" as an unordered pair of products."""
    sides = text.split("=")
    if len(sides) != 2:
        return None
    prods = []
    for s in sides:
        prods.append(tuple(sorted(item(t) for t in ITEM.findall(s) if t != "x")))
    return tuple(sorted(prods))


def sentence(text):
    m = HARMONIC.match(text.strip())
    if m:
        a, b, c, d = m.groups()
        return ("harmonic", tuple(sorted([tuple(sorted((a, b))), tuple(sorted((c, d)))])))
    return ("sentence", text.strip())


def parse_entries(report):
    """The report's entries in order: (heading, frozenset of items) for
    groups and right angles, (heading, product pair) for ratio lines,
    (kind, value) for sentences."""
    entries = []
    heading = None
    group = None
    for raw in report.splitlines():
        if not raw.strip() or raw.startswith("This is file:") or raw.startswith("Summary:"):
            continue
        if raw.startswith("    ") and heading:
            body = raw.strip()
            if heading in ONE_PER_LINE:
                entries.append((heading, product_line(body)))
            else:
                body = body.replace(" is supplementary to", "").replace(" are supplementary to", "")
                body = body.replace(" is complementary to", "").replace(" are complementary to", "")
                items = [item(t) for t in ITEM.findall(body)]
                if heading in ONE_PER_ITEM:
                    entries.extend((heading, frozenset([i])) for i in items)
                else:
                    group.update(items)
            continue
        if raw.endswith(":"):
            heading = raw
            if heading not in ONE_PER_ITEM and heading not in ONE_PER_LINE:
                group = set()
                entries.append((heading, group))
            continue
        heading = None
        entries.append(sentence(raw))
    return [(h, frozenset(v) if isinstance(v, set) else v) for h, v in entries]


def relation(fields):
    """A manifest relation in the form of the entries it must match."""
    if len(fields) == 1:
        return sentence(fields[0])
    heading, items = fields
    if heading in ONE_PER_LINE:
        return (heading, product_line(items))
    return (heading, frozenset(item(t) for t in ITEM.findall(items)))


def matches(entry, rel):
    if entry[0] != rel[0]:
        return False
    if isinstance(rel[1], frozenset) and isinstance(entry[1], frozenset):
        return rel[1] <= entry[1]
    return entry[1] == rel[1]


def read_manifest(path):
    cases = {}
    with open(path) as f:
        for n, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            fields = [x.strip() for x in line.split(" | ")]
            if len(fields) not in (3, 4) or fields[1] not in ("known", "trap"):
                sys.exit("%s:%d: bad manifest line" % (path, n))
            cases.setdefault(fields[0], []).append((fields[1], relation(fields[2:]), line))
    return cases


def report_of(cli, path, summary, samples=60):
    cmd = [cli, "relations", path, "--samples", str(samples)]
    if summary:
        cmd.append("--summary")
    r = subprocess.run(cmd, capture_output=True, text=True, timeout=120)
    if r.returncode != 0:
        raise RuntimeError("%s: exit %d: %s" % (path, r.returncode, r.stderr))
    return r.stdout


def main(argv):
    args = [a for a in argv[1:] if not a.startswith("--")]
    flags = [a for a in argv[1:] if a.startswith("--")]
    summary = "--summary" in flags
    verbose = "--verbose" in flags
    cli, folder = args[0], args[1]
    only = args[2] if len(args) > 2 else None
    cases = read_manifest(os.path.join(folder, "MANIFEST"))
    files = sorted(f for f in os.listdir(folder) if f.endswith(".T"))
    failures = []
    for f in files:
        if f not in cases:
            failures.append("%s: not in the manifest" % f)
    known = traps = 0
    theorems = topfive = 0
    lengths = []
    for f, rels in sorted(cases.items()):
        if only and f != only:
            continue
        text = report_of(cli, os.path.join(folder, f), summary)
        entries = parse_entries(text)
        if verbose:
            print("== %s: %d entries" % (f, len(entries)))
        if summary:
            head = re.match(r"Summary: (\d+) of (\d+) relations\n", text)
            if not head or int(head.group(1)) != len(entries):
                failures.append("%s: summary header does not count its %d entries"
                                % (f, len(entries)))
            if any(kind == "known" for kind, _, _ in rels):
                theorems += 1
                lengths.append(len(entries))
                topfive += all(kind != "known" or
                               next((i for i, e in enumerate(entries) if matches(e, rel)), 99) < 5
                               for kind, rel, _ in rels)
        for kind, rel, line in rels:
            rank = next((i for i, e in enumerate(entries) if matches(e, rel)), None)
            if kind == "known":
                known += 1
                if rank is None and not summary:
                    failures.append("missing: " + line)
                elif rank is None and verbose:
                    print("   not in the summary: " + line)
                elif verbose:
                    print("   rank %d: %s" % (rank + 1, line))
            else:
                traps += 1
                if rank is not None:
                    failures.append("trap reported: " + line)
                # A trap holds where it starts: otherwise it tests nothing.
                elif not summary and not any(
                        matches(e, rel) for e in
                        parse_entries(report_of(cli, os.path.join(folder, f), False, 0))):
                    failures.append("trap not found at the start: " + line)
    if summary and theorems:
        lengths.sort()
        median = lengths[(len(lengths) - 1) // 2]
        print("summary: %d of %d theorems have every known relation among the first "
              "five entries; entries: median %d, most %d"
              % (topfive, theorems, median, lengths[-1]))
        if topfive < 0.9 * theorems:
            failures.append("fewer than 90 %% of the theorems first: %d of %d" % (topfive, theorems))
        if median > 8 or lengths[-1] > 40:
            failures.append("summaries too long: median %d, most %d" % (median, lengths[-1]))
    for msg in failures:
        print(msg)
    print("%d known relations, %d traps, %d files, %d failures"
          % (known, traps, len(files), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
