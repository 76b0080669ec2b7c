#!/usr/bin/env python3
"""Writes urban_je05.txt, the reconstructed URBAN (JE05) speed trace.

The published JE05 speed table is not available to this project, so the
URBAN cycle ships with a reconstruction until the official table replaces
urban_je05.txt. The reconstruction keeps exactly what is known of the
official trace:

  * seconds 0..39 (the initial standstill 0..25 and the first acceleration),
  * seconds 1598..1607 (the 87.6 km/h maximum at 1603 and its neighbours),
  * seconds 1828..1830 (the last 5.06 km/h and the final standstill),
  * the 15 standstill periods and therefore the 1369 seconds in motion,
  * the published mean speed, 26.94 km/h over seconds 1..1829.

Everything else is made here: each trip between two standstills is a list of
knots (second, speed), joined by monotone cubic Hermite segments (slope zero at
every local extreme, so no segment overshoots its knots), which gives smooth
accelerations, cruises with gentle variation and decelerations to a stop. The
knot speeds of the trips, except those fixed above, are scaled by one common
factor, found by bisection, so that the mean speed over seconds 1..1829 is
26.94 km/h; the speeds are then rounded to two decimals.

The generator checks its output (the fixed values, the standstill structure,
the maximum, the accelerations a heavy vehicle can follow, the mean speed) and
refuses to write a trace that fails. It uses only integer and floating-point
arithmetic of the standard library, so it writes the same file on every
machine.

Usage: make_urban_je05.py [output file]   (default: urban_je05.txt beside it)
"""

import os
import sys

SECONDS = 1830  # table entries 0..1830

# Known values of the official trace, second -> km/h.
FIXED = {t: 0.0 for t in range(0, 26)}
FIXED.update(zip(range(26, 40), [4.19, 8.32, 12.33, 16.05, 18.74, 20.28, 21.48, 23.13, 25.17,
                                 27.19, 28.97, 30.43, 31.46, 32.24]))
FIXED.update(zip(range(1598, 1608), [85.24, 86.0, 86.67, 87.2, 87.55, 87.6, 87.39, 87.1, 86.87,
                                     86.62]))
FIXED.update({1828: 5.06, 1829: 0.0, 1830: 0.0})

# The standstill periods of the official trace (first, last second).
STANDSTILLS = [(0, 25), (100, 163), (380, 382), (475, 521), (629, 660), (733, 750), (855, 891),
               (943, 996), (1020, 1024), (1100, 1141), (1164, 1171), (1207, 1290), (1347, 1359),
               (1399, 1425), (1829, 1830)]

MAXIMUM = (1603, 87.6)
MOVING_SECONDS = 1369
MEAN_SPEED = 26.94  # km/h over seconds 1..1829
MEAN_TOLERANCE = 0.005
MAX_STEP = 4.3  # km/h per second, about 1.2 m/s2
MAX_STEP_CHANGE = 1.2  # km/h per second per second, smooth pedal work

# Departure and arrival slopes (km/h per second) at the standstill ends of a
# trip: the vehicle creeps off and rolls to a stop rather than jerking.
DEPART = 1.0
ARRIVE = -1.5

# Knots of every trip: (second, km/h) or (second, km/h, slope). A trip starts
# at the last standstill second before it and ends at the first standstill
# second after it. Knots at fixed seconds carry the slope of the known trace.
TRIPS = [
    # Arterial road out of the centre.
    [(39, 32.24, 0.78), (52, 39.0), (66, 42.0), (80, 38.0), (100, 0.0, ARRIVE)],
    [(163, 0.0, DEPART), (180, 36.0), (192, 44.5), (215, 49.0), (235, 46.0), (250, 50.0),
     (268, 26.5), (278, 20.5), (292, 37.5), (310, 51.0), (330, 53.0), (350, 47.0),
     (380, 0.0, ARRIVE)],
    [(382, 0.0, DEPART), (400, 34.0), (415, 40.5), (435, 43.5), (452, 37.5), (475, 0.0, ARRIVE)],
    [(521, 0.0, DEPART), (540, 36.0), (556, 45.5), (575, 49.0), (592, 44.5), (608, 33.0),
     (629, 0.0, ARRIVE)],
    # Mid-town: short trips between signals in dense traffic.
    [(660, 0.0, DEPART), (676, 23.5), (692, 29.0), (708, 26.5), (733, 0.0, ARRIVE)],
    [(750, 0.0, DEPART), (765, 20.5), (780, 28.5), (795, 17.0), (806, 14.0), (820, 26.5),
     (835, 28.5), (855, 0.0, ARRIVE)],
    [(891, 0.0, DEPART), (906, 20.5), (920, 24.5), (943, 0.0, ARRIVE)],
    [(996, 0.0, DEPART), (1008, 14.0), (1020, 0.0, ARRIVE)],
    [(1024, 0.0, DEPART), (1040, 24.5), (1056, 31.0), (1074, 28.5), (1100, 0.0, ARRIVE)],
    [(1141, 0.0, DEPART), (1152, 13.0), (1164, 0.0, ARRIVE)],
    [(1171, 0.0, DEPART), (1186, 20.5), (1192, 21.5), (1207, 0.0, ARRIVE)],
    [(1290, 0.0, DEPART), (1306, 25.5), (1322, 30.0), (1347, 0.0, ARRIVE)],
    [(1359, 0.0, DEPART), (1374, 22.5), (1382, 23.5), (1399, 0.0, ARRIVE)],
    # Out of town onto the expressway, off it and back down to a stop.
    [(1425, 0.0, DEPART), (1442, 33.0), (1458, 43.5), (1475, 47.0), (1490, 41.5), (1520, 68.0),
     (1550, 76.0), (1575, 81.0), (1598, 85.24, 0.76), (1607, 86.62, -0.25), (1630, 82.0),
     (1655, 79.0), (1680, 80.0), (1700, 74.0), (1725, 52.0), (1745, 45.5), (1765, 37.5),
     (1785, 39.5), (1810, 28.5), (1828, 5.06, -4.0)],
]


def knot_slopes(knots):
    """Slopes at the knots: given ones kept; zero at a local extreme, otherwise
    the weighted harmonic mean of the neighbouring secants (monotone cubic)."""
    slopes = []
    for i, knot in enumerate(knots):
        if len(knot) == 3:
            slopes.append(knot[2])
            continue
        (t0, v0), (t1, v1), (t2, v2) = knots[i - 1][:2], knot[:2], knots[i + 1][:2]
        d0 = (v1 - v0) / (t1 - t0)
        d1 = (v2 - v1) / (t2 - t1)
        if d0 * d1 <= 0.0:
            slopes.append(0.0)
        else:
            h0, h1 = t1 - t0, t2 - t1
            w0, w1 = 2.0 * h1 + h0, h1 + 2.0 * h0
            slopes.append((w0 + w1) / (w0 / d0 + w1 / d1))
    return slopes


def hermite(t, t0, v0, m0, t1, v1, m1):
    h = t1 - t0
    s = (t - t0) / h
    h00 = (1.0 + 2.0 * s) * (1.0 - s) * (1.0 - s)
    h10 = s * (1.0 - s) * (1.0 - s)
    h01 = s * s * (3.0 - 2.0 * s)
    h11 = s * s * (s - 1.0)
    return h00 * v0 + h10 * h * m0 + h01 * v1 + h11 * h * m1


def is_fixed_knot(knot):
    return knot[0] in FIXED


def scaled(knots, factor):
    out = []
    for knot in knots:
        if is_fixed_knot(knot) or knot[1] == 0.0:
            out.append(knot)
        else:
            out.append((knot[0], knot[1] * factor) + tuple(knot[2:]))
    return out


def centi(v):
    """km/h rounded to two decimals, as an integer number of hundredths."""
    return int(v * 100.0 + 0.5) if v >= 0.0 else -int(-v * 100.0 + 0.5)


def build(factor):
    speeds = [0.0] * (SECONDS + 1)
    for knots in TRIPS:
        knots = scaled(knots, factor)
        slopes = knot_slopes(knots)
        for i in range(len(knots) - 1):
            t0, v0 = knots[i][:2]
            t1, v1 = knots[i + 1][:2]
            for t in range(t0, t1 + 1):
                speeds[t] = hermite(float(t), t0, v0, slopes[i], t1, v1, slopes[i + 1])
    for t, v in FIXED.items():
        speeds[t] = v
    return [centi(v) for v in speeds]


def mean_centi(trace):
    return sum(trace[1:1830]) / 1829.0


def calibrate():
    target = MEAN_SPEED * 100.0
    low, high = 0.8, 1.2
    for _ in range(60):
        middle = (low + high) / 2.0
        if mean_centi(build(middle)) < target:
            low = middle
        else:
            high = middle
    candidates = [build(low), build(high)]
    return min(candidates, key=lambda trace: abs(mean_centi(trace) - target))


def zero_runs(trace):
    runs, start = [], None
    for t, v in enumerate(trace):
        if v == 0 and start is None:
            start = t
        elif v != 0 and start is not None:
            runs.append((start, t - 1))
            start = None
    if start is not None:
        runs.append((start, len(trace) - 1))
    return runs


def check(trace):
    problems = []
    for t, v in FIXED.items():
        if trace[t] != centi(v):
            problems.append("second %d is %.2f, the known value is %.2f" % (t, trace[t] / 100, v))
    if zero_runs(trace) != STANDSTILLS:
        problems.append("standstill periods differ: %s" % zero_runs(trace))
    if sum(1 for v in trace if v != 0) != MOVING_SECONDS:
        problems.append("%d seconds in motion" % sum(1 for v in trace if v != 0))
    peak = centi(MAXIMUM[1])
    if [t for t, v in enumerate(trace) if v >= peak] != [MAXIMUM[0]]:
        problems.append("the maximum is not %.2f at %d alone" % (MAXIMUM[1], MAXIMUM[0]))
    if min(trace) < 0:
        problems.append("negative speed")
    step_limit = centi(MAX_STEP)
    change_limit = centi(MAX_STEP_CHANGE)
    for t in range(1, SECONDS + 1):
        known = t in FIXED and t - 1 in FIXED
        if not known and abs(trace[t] - trace[t - 1]) > step_limit:
            problems.append("step of %.2f km/h at second %d" % ((trace[t] - trace[t - 1]) / 100, t))
        # Coming to rest ends the braking at once; only motion must be smooth.
        if t >= 2 and trace[t] != 0 and not (known and t - 2 in FIXED):
            change = trace[t] - 2 * trace[t - 1] + trace[t - 2]
            if abs(change) > change_limit:
                problems.append("acceleration changes by %.2f at second %d" % (change / 100, t))
    mean = mean_centi(trace) / 100.0
    if abs(mean - MEAN_SPEED) > MEAN_TOLERANCE:
        problems.append("mean speed %.4f km/h" % mean)
    return problems


HEADER = """\
# URBAN drive cycle: target speed in km/h of seconds 0..1830, one value a line.
#
# THIS TRACE IS A RECONSTRUCTION, NOT THE OFFICIAL JE05 SPEED TABLE.
# The URBAN, MID-TOWN and AVERAGE figures computed with it are not official
# figures until the official JE05 table replaces this file.
#
# Exact from the official trace: seconds 0..39, 1598..1607 (the maximum,
# 87.6 km/h at 1603) and 1828..1830, the 15 standstill periods and so the
# 1369 seconds in motion. Reconstructed: every other second in motion, as
# smooth trips between the standstills (monotone cubic segments between knot
# speeds), scaled so that the mean speed over seconds 1..1829 is the
# published 26.94 km/h. Mean speed of this trace over seconds 1..1829:
# {mean:.4f} km/h.
#
# Written by make_urban_je05.py; do not edit by hand. To use the official
# table, replace the values below (1831 of them, at most two decimals) and
# rebuild: the build refuses a table that fails the known properties.
"""


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "urban_je05.txt")
    trace = calibrate()
    problems = check(trace)
    if problems:
        for problem in problems:
            print("make_urban_je05.py: " + problem, file=sys.stderr)
        return 1
    with open(output, "w", newline="\n") as out:
        out.write(HEADER.format(mean=mean_centi(trace) / 100.0))
        for v in trace:
            out.write("%d.%02d\n" % (v // 100, v % 100))
    return 0


if __name__ == "__main__":
    sys.exit(main())
