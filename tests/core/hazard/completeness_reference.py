#!/usr/bin/python3
"""Reference values of the completeness-magnitude estimators for
CompletenessTest.cpp, computed directly on the array of binned magnitudes
(no running sums):

    /usr/bin/python3 tests/core/hazard/completeness_reference.py

The histograms: 3000 and 30000 Gutenberg-Richter magnitudes (b = 1 from 0.0) of
numpy's default_rng(12), kept with the probability of a cumulative normal
detection curve (mean 0.8, deviation 0.2), binned at dM = 0.1.
"""
import math

import numpy as np

DM = 0.1
MIN_EVENTS = 25


def sample(size):
    rng = np.random.default_rng(12)
    m = -np.log10(1.0 - rng.random(size)) / 1.0
    keep = rng.random(size) < 0.5 * np.vectorize(math.erfc)(-(m - 0.8) / (0.2 * math.sqrt(2)))
    k = np.floor(m[keep] / DM + 0.5 + 1e-9).astype(int)
    counts = np.bincount(k - k.min())
    return k.min(), counts


def analyse(first, counts):
    M = np.repeat((first + np.arange(len(counts))) * DM, counts)
    centres = (first + np.arange(len(counts))) * DM
    rows = []
    for c in centres:
        above = M[M >= c - DM / 2]
        n = len(above)
        if n < MIN_EVENTS:
            break
        b = math.log10(math.e) / (above.mean() - (c - DM / 2))
        sb = math.log(10) * b * b * math.sqrt(((above - above.mean()) ** 2).sum() / (n * (n - 1)))
        a = math.log10(n) + b * (c - DM / 2)
        bins = centres[centres >= c - DM / 2]
        obs = np.array([np.sum(np.abs(above - x) < DM / 2) for x in bins])
        syn = 10 ** (a - b * (bins - DM / 2)) - 10 ** (a - b * (bins + DM / 2))
        R = 100 - 100 * np.abs(obs - syn).sum() / obs.sum()
        emp = np.cumsum(obs) / n
        model = 1 - 10 ** (-b * (bins + DM / 2 - (c - DM / 2)))
        D = np.abs(emp - model).max()
        rows.append(dict(mc=c, n=n, b=b, sb=sb, R=R, D=D))
    for i, r in enumerate(rows):
        window = rows[i:i + 5]
        r["bave"] = np.mean([w["b"] for w in window]) if len(window) == 5 else float("nan")
    return centres, rows


def report(size):
    first, counts = sample(size)
    centres, rows = analyse(first, counts)
    print("first bin", first, "counts", list(counts))
    print("maxc", centres[np.argmax(counts)])
    for level in (90, 95):
        hit = [r["mc"] for r in rows if r["R"] >= level]
        print("gof%d" % level, hit[0] if hit else None)
    stable = [r["mc"] for r in rows if not math.isnan(r["bave"]) and abs(r["bave"] - r["b"]) <= r["sb"]]
    print("mbs", stable[0] if stable else None)
    print("ks-min", min(rows, key=lambda r: r["D"])["mc"])
    for r in rows:
        print("%.1f n=%d b=%.12f sb=%.12f R=%.12f bave=%.12f D=%.12f" % (
            r["mc"], r["n"], r["b"], r["sb"], r["R"], r["bave"], r["D"]))


def main():
    for size in (3000, 30000):
        print("%d magnitudes before the detection curve" % size)
        report(size)


if __name__ == "__main__":
    main()
