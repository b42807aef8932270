#!/usr/bin/python3
"""Roots and Extrema scans of `vendrak --batch` against numpy on the same grid.

Each measurement is one whole process, started and timed alike:
  numpy    python3 with numpy reads the series file, evaluates the series at
           the N + 1 grid points of the saved study and counts the sign
           changes of the values (roots) or of their differences (extrema);
  vendrak  vendrak --batch FILE --roots (or --extrema) on the same file, whose
           saved study sets the same interval and N subintervals.
The table gives the median wall-clock seconds of RUNS processes and the ratio
numpy / vendrak: above 1, vendrak is the faster.

Run it (Release or RelWithDebInfo build; Debian's python3-numpy):
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release && cmake --build build -j2 --target vendrak
    /usr/bin/python3 bench/numpy_compare.py [--vendrak build/vendrak] [--runs 5] [--only power]
The series files are written to a temporary folder and removed afterwards.
The machine's load is printed with the table: on a shared machine the figures
move with it.
"""

import argparse
import math
import os
import statistics
import subprocess
import sys
import tempfile
import time

# kind, degree or harmonics, subintervals
SIZES = [
    ("power", 50, 1 << 20),
    ("power", 50, 1 << 22),
    ("power", 1000, 1 << 20),
    ("power", 1000, 1 << 22),
    ("trigonometric", 50, 1 << 20),
    ("trigonometric", 5000, 1 << 16),
]

# What the numpy process runs: argv = file, kind (0 trigonometric, 1 power),
# count of coefficients, lower, upper, subintervals, roots|extrema.
NUMPY_SCAN = r"""
import sys
import numpy as np
path, kind, count, lower, upper, n, scan = sys.argv[1:]
count, n = int(count), int(n)
c = np.loadtxt(path, skiprows=1, max_rows=count)
x = np.linspace(float(lower), float(upper), n + 1)
y = np.empty_like(x)
# In pieces that stay in the caches: polyval over 2^22 points at once makes
# and drops a 32 MB array per term and runs several times slower a point.
if kind == "1":
    chunk = 1 << 16
    for i in range(0, len(x), chunk):
        y[i:i + chunk] = np.polynomial.polynomial.polyval(x[i:i + chunk], c)  # centre 0
else:
    theta = 2 * np.pi * x  # period 1, centre 0
    m = (count - 1) // 2
    k = np.arange(1, m + 1)
    sines, cosines = c[1::2][:m], c[2::2][:m]
    chunk = max(1, (1 << 22) // m)
    for i in range(0, len(x), chunk):
        a = np.outer(theta[i:i + chunk], k)
        y[i:i + chunk] = c[0] + np.sin(a) @ sines + np.cos(a) @ cosines
v = y if scan == "roots" else np.diff(y)
print(np.count_nonzero(np.signbit(v[1:]) != np.signbit(v[:-1])))
"""


def series_file(folder, kind, size, subintervals):
    """A series with few roots and extrema over its study interval, so that
    neither scan stops at a full table: random coefficients, shrinking with
    the order (power series on [-1, 1]; harmonics over one period)."""
    import random
    rng = random.Random(size * 7 + (kind == "power"))
    if kind == "power":
        coeffs = [rng.gauss(0, 1) for _ in range(size + 1)]
        header = f'0,"power series, degree {size}",-1,1,0,1,1,{size},#TRUE#'
        lower, upper = -1.0, 1.0
    else:
        coeffs = [rng.gauss(0, 1)] + [rng.gauss(0, 1) / ((j + 2) // 2) ** 3 for j in range(2 * size)]
        header = f'0,"trigonometric series, {size} harmonics",0,1,0,0,1,{2 * size + 1},#TRUE#'
        lower, upper = 0.0, 1.0
    path = os.path.join(folder, f"{kind}_{size}_{subintervals}.txt")
    lines = [header] + [repr(v) for v in coeffs]
    lines.append(f"{lower!r},{upper!r},{subintervals},1E-09,20,#FALSE#,0,0,0,0")
    lines.append(f"{lower!r},{upper!r},-1,1,1,0,0,1,1")
    with open(path, "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")
    return path, len(coeffs), lower, upper


def timed(argv, env):
    start = time.perf_counter()
    done = subprocess.run(argv, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    seconds = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit(f"{' '.join(argv)} failed ({done.returncode}): {done.stderr.strip()}")
    return seconds, done.stdout


def median_seconds(argv, env, runs):
    times, out = [], ""
    for _ in range(runs):
        t, out = timed(argv, env)
        times.append(t)
    return statistics.median(times), out


def entries(report):
    """The roots, maxima and minima the report lists."""
    count, inside = 0, False
    for line in report.splitlines():
        if line.strip() in ("ROOTS:", "MAXIMA:", "MINIMA:"):
            inside = True
        elif not line.strip():
            inside = False
        elif inside:
            count += 1
    return count


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--vendrak", default=os.path.join(here, "..", "build", "vendrak"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--only", choices=["power", "trigonometric"], help="one kind of series only")
    args = parser.parse_args()
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")

    print(f"load before: {os.getloadavg()[0]:.2f} {os.getloadavg()[1]:.2f} {os.getloadavg()[2]:.2f}"
          f" on {os.cpu_count()} cores; median of {args.runs} processes", flush=True)
    print(f"{'series':<22}{'points':>9}{'scan':>9}{'numpy s':>10}{'vendrak s':>11}{'ratio':>8}  counted / listed")
    with tempfile.TemporaryDirectory() as folder:
        for kind, size, n in SIZES:
            if args.only and kind != args.only:
                continue
            path, count, lower, upper = series_file(folder, kind, size, n)
            name = f"{kind[:4]}. {'degree' if kind == 'power' else 'harmonics'} {size}"
            for scan in ("roots", "extrema"):
                numpy_argv = [sys.executable, "-c", NUMPY_SCAN, path, "1" if kind == "power" else "0",
                              str(count), repr(lower), repr(upper), str(n), scan]
                vendrak_argv = [args.vendrak, "--batch", path, "--" + scan]
                np_s, counted = median_seconds(numpy_argv, env, args.runs)
                vk_s, report = median_seconds(vendrak_argv, env, args.runs)
                listed = entries(report)
                print(f"{name:<22}{'2^' + str(n.bit_length() - 1):>9}{scan:>9}{np_s:>10.3f}{vk_s:>11.3f}"
                      f"{np_s / vk_s:>8.2f}  {counted.strip()} / {listed}", flush=True)
    print(f"load after: {os.getloadavg()[0]:.2f} {os.getloadavg()[1]:.2f} {os.getloadavg()[2]:.2f}")


if __name__ == "__main__":
    main()
