#!/usr/bin/env python3
"""Reference results of the acid-base titration demonstration model, computed without
the program: the value, the combined standard uncertainty by the law of propagation for
a product and quotient of independent inputs, the relative uncertainty, the effective
degrees of freedom (Welch-Satterthwaite), the coverage factor for 95 % from the Student t
distribution and the expanded uncertainty. The self-validation compares texts cut after
the fifth decimal digit (the degrees of freedom before the separator); this script
prints the same cuts."""

import math

# name: (value, standard uncertainty, degrees of freedom or None for infinite)
INPUTS = {
    "rep": (1.0, 0.001, 50),
    "mKHP": (0.3888, 0.00013, None),
    "PKHP": (1.0, 0.00029, None),
    "VT2": (14.89, 0.013, None),
    "VT1": (18.64, 0.015, None),
    "FKHP": (204.2212, 0.0038, None),
    "VHCl": (15.0, 0.011, None),
}


def concentration(x):
    return 1000 * x["mKHP"] * x["PKHP"] * x["VT2"] / (x["VT1"] * x["FKHP"] * x["VHCl"]) * x["rep"]


def incomplete_beta(a, b, x):
    """Regularised incomplete beta function by its continued fraction."""
    if x <= 0:
        return 0.0
    if x >= 1:
        return 1.0
    if x > (a + 1) / (a + b + 2):
        return 1 - incomplete_beta(b, a, 1 - x)
    front = math.exp(math.lgamma(a + b) - math.lgamma(a) - math.lgamma(b) + a * math.log(x) + b * math.log(1 - x)) / a
    f, c, d = 1.0, 1.0, 0.0
    for i in range(400):
        m = i // 2
        if i == 0:
            numerator = 1.0
        elif i % 2 == 0:
            numerator = m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m))
        else:
            numerator = -((a + m) * (a + b + m) * x) / ((a + 2 * m) * (a + 2 * m + 1))
        d = 1 + numerator * d
        d = 1 / (d if abs(d) > 1e-300 else 1e-300)
        c = 1 + numerator / c
        c = c if abs(c) > 1e-300 else 1e-300
        f *= c * d
        if abs(1 - c * d) < 1e-15:
            break
    return front * (f - 1)


def t_quantile(p, nu):
    """The t value with probability p below it, by bisection on the distribution function."""
    lo, hi = 0.0, 100.0
    for _ in range(200):
        t = (lo + hi) / 2
        cdf = 1 - 0.5 * incomplete_beta(nu / 2, 0.5, nu / (nu + t * t))
        lo, hi = (t, hi) if cdf < p else (lo, t)
    return (lo + hi) / 2


def cut_decimals(value, digits=5):
    text = f"{value:.15f}"
    whole, fraction = text.split(".")
    return whole + "," + fraction[:digits]


def main():
    x = {name: v[0] for name, v in INPUTS.items()}
    c = concentration(x)
    # For a product and quotient each input adds its relative uncertainty in quadrature.
    rel2 = {name: (u / v) ** 2 for name, (v, u, _) in INPUTS.items()}
    rel = math.sqrt(sum(rel2.values()))
    u = c * rel
    nu_eff = u ** 4 / sum((c * math.sqrt(rel2[n])) ** 4 / nu for n, (_, _, nu) in INPUTS.items() if nu)
    k = t_quantile(0.975, nu_eff)
    # The program multiplies k by u rounded to two significant digits.
    u_shown = float(f"{u:.1e}")
    expanded = k * u_shown
    print(f"value          {c:.10f}  -> {cut_decimals(c)}")
    print(f"u              {u:.10f}  -> {cut_decimals(u)}")
    print(f"relative u %   {100 * rel:.10f}  -> {cut_decimals(100 * rel)}")
    print(f"nu_eff         {nu_eff:.4f}  -> {int(nu_eff)}")
    print(f"k (95 %)       {k:.4f}")
    print(f"U = k x {u_shown:g}  {expanded:.10f}  -> {cut_decimals(expanded)}")


if __name__ == "__main__":
    main()
