#!/usr/bin/python3
"""The cost of a call through the Python module against the same analysis in
the process as zorv-batch runs it (bench/python_overhead_bench), on the
sample catalogue with default settings. Each side takes the best of five
rounds, so that the other work of the machine weighs on both alike.

    HOME=$(mktemp -d) PYTHONPATH=build/src/python tools/python_overhead.py build [name ...]
"""
import json
import os
import subprocess
import sys
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


def main():
    build = sys.argv[1]
    names = sys.argv[2:] or [a for a in zorv.analyses() if a not in ("mmax-compare", "backtest")]
    sample = zorv.open(os.path.join(os.path.dirname(__file__), "..", "data", "sample", "katalog.dbf"))
    cxx = cxx_times(build, names)
    print(f"{'analiza':28s} {'C++ [ms]':>10s} {'Python [ms]':>12s} {'narzut':>8s}")
    for name in names:
        options = {"zones": "G-1,G-2"} if name.startswith("zone-") else {}
        py = python_time(name, sample, options)
        print(f"{name:28s} {cxx[name]:10.3f} {py:12.3f} {100 * (py / cxx[name] - 1):+7.1f} %")


if __name__ == "__main__":
    main()
