"""Figures of the Python module, not a test: the time of zorv.run against the
same work in C++ (settings, frozen sample, analysis: what zorv-batch does
after its start), and the passing of 1,000,000 magnitudes in and a table out.

    PYTHONPATH=build/src/python python3 tests/python/bench_overhead.py data/sample/katalog.dbf
"""

import sys
import time

import numpy as np

import zorv


def best(f, repeat):
    times = []
    for _ in range(repeat):
        t = time.perf_counter()
        f()
        times.append(time.perf_counter() - t)
    return min(times)


def main():
    cat = zorv.open(sys.argv[1])
    for name, repeat in (("histogram", 50), ("activity", 50), ("p-hazard", 50), ("np-hazard", 5),
                         ("mmax-compare", 5)):
        run = best(lambda: zorv.run(name, cat), repeat)
        with_table = best(lambda: zorv.run(name, cat).table, repeat)
        print(f"{name:14s} run {run * 1e3:9.3f} ms   run + table {with_table * 1e3:9.3f} ms")
    m = np.random.default_rng(1).exponential(1 / 2.3, 1_000_000) + 1.0
    print(f"b_value, 1e6 float64 magnitudes (no copy): {best(lambda: zorv.b_value(m, 1.0), 10) * 1e3:.3f} ms")
    m32 = m.astype(np.float32)
    print(f"b_value, 1e6 float32 magnitudes (one conversion): {best(lambda: zorv.b_value(m32, 1.0), 10) * 1e3:.3f} ms")
    print(f"numpy reference, mean of 1e6: {best(lambda: m[m >= 1.0].mean(), 10) * 1e3:.3f} ms")
    days = np.datetime64("2000-01-01") + np.sort(np.random.default_rng(2).integers(0, 2000, 1_000_000))
    big = zorv.catalogue({"DATA": days, "MAGNITUDA": m, "ENG": 10 ** (1.96 * m + 1.15)})
    print(f"catalogue of 1e6 events from arrays: {best(lambda: zorv.catalogue({'DATA': days, 'MAGNITUDA': m}), 3) * 1e3:.1f} ms")
    r = zorv.run("activity", big, period="months")
    print(f"activity on 1e6 events: {best(lambda: zorv.run('activity', big, period='months'), 3) * 1e3:.1f} ms,"
          f" its table out ({len(r.table['Numer'])} rows): {best(lambda: r.table, 20) * 1e3:.3f} ms")
    print(f"magnitudes of 1e6 events out (no copy): {best(lambda: big.magnitudes, 20) * 1e6:.1f} us")


if __name__ == "__main__":
    main()
