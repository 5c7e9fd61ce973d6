#!/usr/bin/python3
"""The joint beta-Mmax estimate of the truncated exponential law computed
independently of zorvcore, with SciPy (Debian's python3-scipy):

  beta(u): root of 1/b - r/(exp(r b) - 1) - mean_excess, r = u - mmin (brentq)
  excess(u) = xmax + int_mmin^U F(m; u, beta(u))^n dm - u,  U = u (variable
  upper limit) or xmax (fixed), by adaptive quadrature (quad), and its
  smallest root above xmax (a scan of 0.01 steps, then brentq), or
  "none" when the excess stays positive up to the limit.

  /usr/bin/python3 joint_mmax_reference.py N MEAN XMAX MMIN [fixed] [LIMIT]
prints Mmax and beta to 12 digits.
"""
import sys

import numpy as np
from scipy import integrate, optimize


def beta_of(mean_excess, r):
    g = lambda b: 1.0 / b - r / np.expm1(r * b) - mean_excess
    with np.errstate(over="ignore"):
        return optimize.brentq(g, 1e-9, 100.0, xtol=1e-15, rtol=1e-15, maxiter=500)


def excess(u, n, mean, xmax, mmin, variable):
    b = beta_of(mean - mmin, u - mmin)
    F = lambda m: (-np.expm1(-b * (m - mmin)) / -np.expm1(-b * (u - mmin))) ** n
    upper = u if variable else xmax
    # The integrand rises from 0 to 1 over a few 1/beta below the upper end.
    points = [max(mmin, upper - k / b) for k in (1, 2, 4, 8, 16)]
    value = integrate.quad(F, mmin, upper, points=sorted(set(points)), epsabs=1e-14, epsrel=1e-13,
                           limit=1000)[0]
    return xmax + value - u


def main():
    n, mean, xmax, mmin = int(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4])
    rest = sys.argv[5:]
    variable = "fixed" not in rest
    limit = float(next((a for a in rest if a != "fixed"), 10.0))
    lo = xmax
    u = xmax
    while u < limit:
        u = min(u + 0.01, limit)
        if excess(u, n, mean, xmax, mmin, variable) <= 0:
            root = optimize.brentq(excess, lo, u, args=(n, mean, xmax, mmin, variable), xtol=1e-13)
            print("%.12f %.12f" % (root, beta_of(mean - mmin, root - mmin)))
            return
        lo = u
    print("none")


main()
