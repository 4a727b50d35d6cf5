#!/usr/bin/env python3
"""Times one poll cycle's processing here and in the peer a user would write.

Quorvel: benchmarks/poll_cycle_benchmark (Google Benchmark): the body turned
into text, Utf8ToAnsi, a new RegexMatcher over PCRE2, Create with the program's
pattern, SubMatchText(1, 1).

The peer: the same steps in Python 3's standard library: the body decoded as
UTF-8 with replacement, encoded as GBK with replacement, re.search of the same
pattern (ignoring case, multi-line, as the program asks), group 1.

Both read the same pages, which the benchmark program writes to a temporary
directory. The peer's regular expression is quadratic on the hostile pages,
so each of its runs is cut off after --peer-timeout seconds and shown as
"> N s". Times are CPU times of the one thread each side runs on (a busy
machine stretches wall-clock times). On a shared virtual machine the other
tenants slow either side by up to half for seconds at a time, so the two
sides take turns for --rounds rounds and each keeps its best time per page.
Prints one table: milliseconds per page and the ratio peer/Quorvel.

  benchmarks/compare_with_peer.py [--benchmark PATH] [--peer-timeout S] [--rounds N]
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile

PEER = r'''
import re, sys, time
PATTERN = re.compile("进行中\\((.*?)\\)".encode("gbk"), re.IGNORECASE | re.MULTILINE)

def cycle(body):
    page = body.decode("utf-8", "replace").encode("gbk", "replace")
    m = PATTERN.search(page)
    return m.group(1) if m else b""

body = open(sys.argv[1], "rb").read()
want = sys.argv[2].encode()
times = []
deadline = time.perf_counter() + 1.0
while len(times) < 3 or (time.perf_counter() < deadline and len(times) < 200):
    start = time.process_time()
    count = cycle(body)
    times.append(time.process_time() - start)
    if count != want:
        sys.exit("peer read %r, not %r" % (count, want))
print(min(times) * 1000.0)
'''

PAGES = ["course-64KiB", "course-1MiB", "course-16MiB",
         "hostile-64KiB", "hostile-1MiB", "hostile-16MiB"]


def quorvel_times(benchmark):
    """The best of three repetitions per page, each the mean over its iterations."""
    out = subprocess.run([benchmark, "--benchmark_format=json", "--benchmark_min_time=1",
                          "--benchmark_repetitions=3"],
                         check=True, capture_output=True, text=True).stdout
    times = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("error_occurred"):
            sys.exit("%s: %s" % (b["name"], b.get("error_message")))
        if b.get("run_type") == "iteration":
            name = b["run_name"].split("/", 1)[1]
            times[name] = min(times.get(name, b["cpu_time"]), b["cpu_time"])  # in ms
    return times


def peer_time(path, want, timeout):
    try:
        out = subprocess.run([sys.executable, "-c", PEER, path, want], check=True,
                             capture_output=True, text=True, timeout=timeout).stdout
        return float(out)
    except subprocess.TimeoutExpired:
        return None


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--benchmark", default=os.path.join(
        here, "..", "build", "linux", "benchmarks", "poll_cycle_benchmark"))
    parser.add_argument("--peer-timeout", type=float, default=30.0)
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()

    ours = {}
    theirs = {}  # None: cut off
    with tempfile.TemporaryDirectory() as pages:
        subprocess.run([args.benchmark, "--write_pages=" + pages], check=True)
        for _ in range(max(args.rounds, 1)):
            for name, ms in quorvel_times(args.benchmark).items():
                ours[name] = min(ours.get(name, ms), ms)
            for name in PAGES:
                if name in theirs and theirs[name] is None:
                    continue  # cut off once: no need to wait for it again
                want = "" if name.startswith("hostile") else "0"
                ms = peer_time(os.path.join(pages, name + ".html"), want, args.peer_timeout)
                theirs[name] = ms if name not in theirs or ms is None else min(theirs[name], ms)
    print("CPU ms per cycle, best of %d rounds; ratio = Python 3 / Quorvel" % max(args.rounds, 1))
    print("%-14s %9s %9s %12s" % ("page", "Quorvel", "ratio", "Python 3"))
    for name in PAGES:
        if theirs[name] is None:
            ms = args.peer_timeout * 1000.0
            peer, mark = "> %g s" % args.peer_timeout, ">"
        else:
            ms = theirs[name]
            peer, mark = "%.2f" % ms, ""
        print("%-14s %9.2f %9s %12s" % (
            name, ours[name], "%s%.1fx" % (mark, ms / ours[name]), peer))


if __name__ == "__main__":
    main()
