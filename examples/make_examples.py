#!/usr/bin/env python3
"""Writes the input files of the bundled example vehicles.

Every figure here is synthetic: plausible engine and driveline data for the
vehicle class, and a fuel map computed from a stated model, not any
manufacturer's data.

Fuel model (Willans line). At engine speed n (rpm, omega = 2 pi n / 60) and
brake torque T (N m) the engine turns indicated power (T - Tm(n)) * omega into
work, where Tm(n) is the motoring torque (negative: friction and pumping, from
a friction mean effective pressure that rises with speed). Fuel power is the
indicated power divided by an indicated efficiency that peaks at a
mid-range speed and falls off at light load:

    eta(n, x) = eta_peak * (1 - 0.10 * ((n - n_best) / n_rated)^2) * (1 - 0.15 * (1 - x)^3)

with x the load fraction between the motoring and the full-load torque. The
fuel rate in l/h is fuel power * 3600 / (42.7 MJ/kg * 0.832 kg/l). At the
motoring torque the fuel rate is zero, which is what the evaluation assumes.

The schedules (urban_shift.txt, highway_shift.txt) are not written here:
hdfe-schedule makes them from these files.
"""

import math
import os
import sys

LOWER_HEATING_VALUE_KJ_PER_KG = 42.7e3
DENSITY_KG_PER_L = 0.832


def write(path, lines):
    with open(path, "w", newline="") as out:
        out.write("".join(line + "\r\n" for line in lines))


class Engine:
    def __init__(self, displacement_l, idle, rated, overrun, low_torque, peak_torque,
                 peak_from, peak_to, rated_power_kw, eta_peak, best_speed):
        self.displacement = displacement_l / 1000.0
        self.idle, self.rated, self.overrun = idle, rated, overrun
        self.low_torque, self.peak_torque = low_torque, peak_torque
        self.peak_from, self.peak_to = peak_from, peak_to
        self.rated_torque = rated_power_kw * 1000.0 / (2 * math.pi * rated / 60.0)
        self.eta_peak, self.best_speed = eta_peak, best_speed
        self.first_speed = idle - 100.0

    def full_load(self, n):
        if n <= self.peak_from:
            share = (n - self.first_speed) / (self.peak_from - self.first_speed)
            return self.low_torque + share * (self.peak_torque - self.low_torque)
        if n <= self.peak_to:
            return self.peak_torque
        if n <= self.rated:
            share = (n - self.peak_to) / (self.rated - self.peak_to)
            return self.peak_torque + share * (self.rated_torque - self.peak_torque)
        # Governor: torque falls to a fifth of the rated torque at the overrun limit.
        share = (n - self.rated) / (self.overrun - self.rated)
        return self.rated_torque * (1.0 - 0.8 * share)

    def motoring(self, n):
        fmep_bar = 0.9 + 0.18 * (n / 1000.0) + 0.06 * (n / 1000.0) ** 2
        return -fmep_bar * 1e5 * self.displacement / (4 * math.pi)

    def fuel_rate(self, n, torque):
        omega = 2 * math.pi * n / 60.0
        tm = self.motoring(n)
        load = (torque - tm) / (self.full_load(n) - tm)
        eta = (self.eta_peak * (1 - 0.10 * ((n - self.best_speed) / self.rated) ** 2)
               * (1 - 0.15 * (1 - load) ** 3))
        fuel_kw = (torque - tm) * omega / 1000.0 / eta
        return fuel_kw * 3600.0 / (LOWER_HEATING_VALUE_KJ_PER_KG * DENSITY_KG_PER_L)

    def curve_speeds(self):
        speeds = [self.first_speed]
        n = math.ceil(self.first_speed / 100.0) * 100.0
        while n < self.overrun + 200.0:
            if n > self.first_speed:
                speeds.append(n)
            n += 100.0
        return speeds

    def map_speeds(self, lines):
        step = (self.overrun - self.idle) / (lines - 1)
        return [round(self.idle + k * step) for k in range(lines)]


def write_engine(folder, engine, map_lines, title):
    write(os.path.join(folder, "engine.txt"), [
        "fuelmap.txt        fuel map",
        "fullload.txt       full-load torque curve",
        "motoring.txt       motoring torque curve",
        f"{engine.idle:.0f}   Nidle (rpm)",
        f"{engine.rated:.0f}   Nrate (rpm)",
        f"{engine.overrun:.0f}   Nex (rpm)",
    ])
    speeds = engine.curve_speeds()
    write(os.path.join(folder, "fullload.txt"),
          [f"{title}: full-load torque curve (synthetic)", "speed(rpm) torque(N-m)"]
          + [f"{n:.0f}\t{engine.full_load(n):.1f}" for n in speeds])
    write(os.path.join(folder, "motoring.txt"),
          [f"{title}: motoring torque curve (synthetic)", "speed(rpm) torque(N-m)"]
          + [f"{n:.0f}\t{engine.motoring(n):.1f}" for n in speeds])
    points = []
    for line, n in enumerate(engine.map_speeds(map_lines)):
        top = engine.full_load(n)
        # Lines alternate between ten and eight measured torques, as a test bench would.
        shares = ([0.04, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.85, 1.0] if line % 2 == 0
                  else [0.05, 0.15, 0.3, 0.45, 0.6, 0.75, 0.9, 1.0])
        for share in shares:
            torque = round(share * top, 1)
            points.append(f"{n}\t{torque:.1f}\t{engine.fuel_rate(n, torque):.3f}")
    idle_fuel = engine.fuel_rate(engine.idle, 0.0)
    write(os.path.join(folder, "fuelmap.txt"),
          ["FUELMAP", "speed(rpm)_torque(N-m)_fuel(l/h)",
           f"{engine.idle:.0f}\t0\t{idle_fuel:.3f}\tidle"] + points)


def write_transmission(folder, low_gears, main_ratios, sub_ratios, kind):
    lines = [f"{low_gears}       number of low gears", f"{len(main_ratios)}       main gears"]
    lines += [f"{r}" for r in main_ratios]
    lines += [f"{len(sub_ratios)}       sub-step ratios"] + [f"{r}" for r in sub_ratios]
    lines += [f"{kind}       kind (1: torque converter automatic)"]
    write(os.path.join(folder, "transmission.txt"), lines)


def write_spec(folder, name, category, final_ratio, tire_radius, trace, roll_addend, air,
               idle_stop, wait, start_idle_stop, start_time, start_timing):
    write(os.path.join(folder, "spec.txt"), [
        f"'{name}'          vehicle name",
        f"{category}              category",
        "engine.txt         engine file",
        "transmission.txt   transmission file",
        f"{final_ratio}              final gear ratio",
        f"{tire_radius}              tire radius (m)",
        f"{tire_radius}              representative tire radius for the flat-road correction (m)",
        f"{trace}                  trace output (1: yes)",
        f"{roll_addend}             rolling resistance addend",
        f"{air}             air resistance coefficient",
        f"{idle_stop}                  idle stop (0: none, 1: fitted)",
        f"{wait}                  waiting time until the engine stops (s)",
        f"{start_idle_stop}                  idle stop at the start of the urban cycle (0: no, 1: yes)",
        f"{start_time}                  duration of that idle stop (s)",
        f"{start_timing}                  engine start timing before moving off (s)",
        "1.0                Kf1",
        "1.0                Kf2",
        "urban_shift.txt    urban gear schedule",
        "highway_shift.txt  highway gear schedule",
        "shift_param.txt    shift parameters",
    ])


def write_shift_parameters(folder, nes, nec, gear_min):
    write(os.path.join(folder, "shift_param.txt"), [
        f"{nes}     Nes factor",
        f"{nec}     Nec factor",
        f"{gear_min}     gear minimum speed factor",
    ])


def air_coefficient(drag_coefficient):
    # N per (km/h)^2 and m^2 of frontal area: 0.5 rho Cd / 3.6^2.
    return round(0.5 * 1.2 * drag_coefficient / 12.96, 5)


def main(root):
    vehicles = [
        dict(folder="t5-truck", name="T5 light-medium truck, 6-speed manual", category="T5",
             engine=Engine(4.0, 650, 2800, 3100, 300, 420, 1400, 2000, 110, 0.46, 1700),
             low=2, main=[5.979, 3.434, 2.001, 1.358, 1.0, 0.765], sub=[1.0], kind=0,
             final=4.875, tire=0.375, cd=0.62, roll=0.0055, idle_stop=(1, 3, 1, 5, 2),
             shift=(0.15, 0.1, 0.2), lines=12),
        dict(folder="tt2-tractor", name="TT2 heavy tractor, 12-speed automated manual",
             category="TT2",
             engine=Engine(12.9, 550, 1800, 2100, 1300, 2300, 1000, 1350, 330, 0.48, 1200),
             low=2, main=[9.8, 6.4, 4.2, 2.75, 1.65, 1.0], sub=[1.25, 1.0], kind=0,
             final=2.85, tire=0.505, cd=0.6, roll=0.0045, idle_stop=(0, 0, 0, 0, 0),
             shift=(0.1, 0.1, 0.15), lines=10),
        dict(folder="br4-city-bus", name="BR4 city bus, 6-speed torque converter automatic",
             category="BR4",
             engine=Engine(7.7, 600, 2300, 2600, 500, 785, 1200, 1600, 199, 0.46, 1500),
             low=1, main=[3.49, 1.86, 1.41, 1.0, 0.75, 0.65], sub=[1.0], kind=1,
             final=5.857, tire=0.46, cd=0.7, roll=0.0055, idle_stop=(1, 5, 1, 10, 3),
             shift=(0.05, 0.08, 0.1), lines=9),
    ]
    for v in vehicles:
        folder = os.path.join(root, v["folder"])
        os.makedirs(folder, exist_ok=True)
        write_spec(folder, v["name"], v["category"], v["final"], v["tire"], 1, v["roll"],
                   air_coefficient(v["cd"]), *v["idle_stop"])
        write_transmission(folder, v["low"], v["main"], v["sub"], v["kind"])
        write_engine(folder, v["engine"], v["lines"], v["name"])
        write_shift_parameters(folder, *v["shift"])


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__)))
