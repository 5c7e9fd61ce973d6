#!/usr/bin/python3
"""The cost of a call through the Python module against the same analysis in
the process as zorv-batch runs it (bench/python_overhead_bench), on the
sample catalogue with default settings. Each side takes the best of five
rounds, so that the other work of the machine weighs on both alike.

    HOME=$(mktemp -d) PYTHONPATH=build/src/python tools/python_overhead.py build [name ...]

With --instructions it counts instructions under valgrind's callgrind
instead of timing: each side is run with two numbers of runs and the
difference divided by the difference of runs, so the start of the process,
the loading of the catalogue and the first runs drop out. The counts do not
depend on the machine's load (timings do, by several per cent on a busy
machine); they leave out what costs time without instructions (caches,
page faults).

    HOME=$(mktemp -d) PYTHONPATH=build/src/python tools/python_overhead.py --instructions build [name ...]
"""
import json
import os
import re
import subprocess
import sys
import tempfile
import time

import zorv

ROUNDS = 5


def cxx_times(build, names):
    flt = "^(" + "|".join(names) + ")$" if names else "."
    out = subprocess.run([os.path.join(build, "bench", "python_overhead_bench"), "--benchmark_format=json",
                          f"--benchmark_repetitions={ROUNDS}", "--benchmark_min_time=0.2",
                          f"--benchmark_filter={flt}"], check=True, capture_output=True, text=True).stdout
    best = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        name = b["run_name"]
        best[name] = min(best.get(name, float("inf")), b["real_time"])  # ms
    return best


def python_time(name, selection, options):
    zorv.run(name, selection, **options)
    best = float("inf")
    for _ in range(ROUNDS):
        n, t0 = 0, time.perf_counter()
        while n < 3 or time.perf_counter() - t0 < 0.2:
            zorv.run(name, selection, **options)
            n += 1
        best = min(best, (time.perf_counter() - t0) / n * 1e3)
    return best


SAMPLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "sample", "katalog.dbf")
FEW, MANY = 3, 9

# The Python side of an instruction count: COUNT calls of zorv.run.
PYTHON_RUNS = """
import sys, zorv
name, count = sys.argv[1], int(sys.argv[2])
sample = zorv.open(sys.argv[3])
options = {"zones": "G-1,G-2"} if name.startswith("zone-") else {}
for _ in range(count):
    zorv.run(name, sample, **options)
"""


def instructions(command):
    with tempfile.TemporaryDirectory() as d:
        out = os.path.join(d, "callgrind.out")
        subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}"] + command, check=True,
                       capture_output=True)
        for line in open(out):
            m = re.match(r"(?:summary|totals): (\d+)", line)
            if m:
                return int(m.group(1))
    raise RuntimeError("callgrind wrote no total")


def per_run(command_of):
    return (instructions(command_of(MANY)) - instructions(command_of(FEW))) / (MANY - FEW)


def count_instructions(build, names):
    bench = os.path.join(build, "bench", "python_overhead_bench")
    print(f"{'analiza':28s} {'C++ [Ir]':>12s} {'Python [Ir]':>12s} {'narzut':>8s}")
    for name in names:
        cxx = per_run(lambda n: [bench, "--runs", name, str(n)])
        py = per_run(lambda n: [sys.executable, "-c", PYTHON_RUNS, name, str(n), SAMPLE])
        print(f"{name:28s} {cxx:12.0f} {py:12.0f} {100 * (py / cxx - 1):+7.2f} %", flush=True)


def main():
    args = sys.argv[1:]
    counting = "--instructions" in args
    if counting:
        args.remove("--instructions")
    build = args[0]
    names = args[1:] or [a for a in zorv.analyses() if a not in ("mmax-compare", "backtest")]
    if counting:
        count_instructions(build, names)
        return
    sample = zorv.open(SAMPLE)
    cxx = cxx_times(build, names)
    print(f"{'analiza':28s} {'C++ [ms]':>10s} {'Python [ms]':>12s} {'narzut':>8s}")
    for name in names:
        options = {"zones": "G-1,G-2"} if name.startswith("zone-") else {}
        py = python_time(name, sample, options)
        print(f"{name:28s} {cxx[name]:10.3f} {py:12.3f} {100 * (py / cxx[name] - 1):+7.1f} %")


if __name__ == "__main__":
    main()
