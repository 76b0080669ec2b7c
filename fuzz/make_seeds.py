#!/usr/bin/env python3
"""Writes the raw seed inputs of every fuzzing harness into a folder.

The seeds come from the example vehicles and from small hand-written files
for the corner cases of each format (quoted names, repeat counts, null
values, slashes, CR LF and LF line ends, exponents written with D). The
committed corpora under fuzz/corpus/ are these seeds after minimisation
with libFuzzer's -merge=1 (scripts/fuzz.sh --refresh-corpus).

Usage: make_seeds.py OUTPUT_FOLDER
"""

import hashlib
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
EXAMPLES = ["t5-truck", "tt2-tractor", "br4-city-bus"]
SEPARATOR = b"----8<----\n"
RUN_FILES = ["spec.txt", "transmission.txt", "engine.txt", "shift_param.txt", "fullload.txt",
             "motoring.txt", "fuelmap.txt", "urban_shift.txt", "highway_shift.txt"]


def example(name, file):
    return (ROOT / "examples" / name / file).read_bytes()


def crlf(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def lines(data, count):
    return b"".join(data.splitlines(keepends=True)[:count])


def replace_line(data, number, text):
    """Replaces line `number` (from 1) of a file by `text`."""
    all_lines = data.splitlines(keepends=True)
    all_lines[number - 1] = text + b"\n"
    return b"".join(all_lines)


def freeformat_seeds():
    # Item list prefix: count byte, kind bytes (0 text, 1 integer, 2 real),
    # plan byte (bit set: whole-line read).
    def seed(kinds, plan, text):
        return bytes([len(kinds) - 1]) + bytes(kinds) + bytes([plan]) + text

    texts = [
        b"2.5 comment\n", b"2.5,3.0\n", b"1000\n850\n", b"\n  \n42\n",
        b"'a name, with / marks'\n", b"\"it\"\"s\" rest\n", b"name/rest\n", b"3*2.5\n",
        b"3*\n7\n", b",,5\n", b"/\n", b"1.5D3 1.5d-3 1E+2 -.5 +7.\n", b"+12 -0 2147483647\n",
        b"-2147483648 2147483648\n", b"1e400 1e-400\n", b"abc 1x\n", b"'unclosed\n",
        b"'a'b\n", b"\t1\t2\t3\r\n4\r\n", b"1, 2 ,3 , ,\n", b"0*5\n", b"2*'ab' 9\n",
    ]
    seeds = []
    for number, text in enumerate(texts):
        for kinds in ([2], [1], [0], [2, 2, 2], [0, 1], [1, 2, 0, 2]):
            seeds.append(seed(kinds, number % 4 == 0 and 0x02 or 0x00, text))
    for name in EXAMPLES:
        seeds.append(seed([0], 0x00, example(name, "spec.txt")))
        seeds.append(seed([2, 2, 2], 0x03, example(name, "fuelmap.txt")))
        seeds.append(seed([0, 1], 0x01, lines(example(name, "urban_shift.txt"), 40)))
    return seeds


def spec_seeds():
    seeds = []
    for name in EXAMPLES:
        spec = example(name, "spec.txt")
        seeds += [spec, crlf(spec)]
    t5 = example("t5-truck", "spec.txt")
    seeds.append(replace_line(t5, 2, b"t5"))                    # lower-case category
    seeds.append(replace_line(t5, 1, b"T5 truck unquoted"))     # name cut at the blank
    seeds.append(replace_line(t5, 7, b"3"))                     # flat-road radius 3
    seeds.append(replace_line(t5, 7, b"-1"))                    # square root undefined
    seeds.append(replace_line(t5, 8, b"1.5"))                   # decimal point in an integer
    seeds.append(replace_line(t5, 11, b"0"))                    # idle stop off
    seeds.append(t5.replace(b"\n", b"\n\n", 3))                 # empty lines
    seeds.append(lines(t5, 12))                                 # too few values
    seeds.append(t5 + b"extra line\n")
    seeds.append(replace_line(t5, 5, b"4.875D0 , 1"))
    return seeds


def engine_seeds():
    seeds = []
    for name in EXAMPLES:
        engine = example(name, "engine.txt")
        seeds += [engine, crlf(engine)]
    t5 = example("t5-truck", "engine.txt")
    seeds.append(replace_line(t5, 2, b"'full load.txt'"))
    seeds.append(replace_line(t5, 4, b"idle"))
    seeds.append(replace_line(t5, 5, b"650"))                   # rated speed not above idle
    seeds.append(lines(t5, 5))
    seeds.append(t5 + b"1\n2\n")
    return seeds


def transmission_seeds():
    seeds = []
    for name in EXAMPLES:
        transmission = example(name, "transmission.txt")
        seeds += [transmission, crlf(transmission)]
    seeds.append(b"2\n6\n6.5, 4.2\n2.6\n1.6\n1.0\n0.8\n0.6\n1\n1.0\n0\n")
    seeds.append(b"0\n0\n1\n1.0\n2\n")
    seeds.append(b"1\n-3\n1\n1.0\n0\n")
    seeds.append(b"1\n2000000000\n1.0\n")
    seeds.append(b"1\n2\n1.0\n1.0\n1.5\n1\n0\n")
    return seeds


def torque_seeds():
    seeds = []
    for name in EXAMPLES:
        for file in ("fullload.txt", "motoring.txt"):
            curve = example(name, file)
            seeds += [curve, crlf(curve)]
    seeds.append(b"h1\nh2\n1600 400\n800 300\n1200 350\n")
    seeds.append(b"h1\nh2\n1000 500\n1200\n1400 600\n")
    seeds.append(b"\n\n1000 500\n\n2000 600\nend\n")
    seeds.append(b"h1\nh2\n1000 500\n1000 600\n2000 700\n")
    seeds.append(b"h1\nh2\n1000 500\n")
    seeds.append(b"h1\n")
    return seeds


def fuel_map_seeds():
    seeds = []
    for name in EXAMPLES:
        fuel_map = example(name, "fuelmap.txt")
        seeds += [fuel_map, crlf(fuel_map)]
    seeds.append(b"MAP\nhead\n600 0 1.2\n1200 300 9\n800 100 4\n1200 100 6\n800 50 3\n")
    seeds.append(b"MAP\nhead\n600 0 1.2\n1000 100 4\n1000 100 5\n2000 100 8\n")
    seeds.append(b"MAP\nhead\n600 0 1.2\n1000 100 4\n1000 200 6\n")
    seeds.append(b"MAP\nhead\n600 0\n1.2\n1000 100 4\n2000 200 9\n")
    seeds.append(b"MAP\nhead\n600 0 1.2\n1000 100\n2000 200 9\nword\n")
    seeds.append(b"MAP\nhead\n600 0 1.2\n")
    return seeds


def shift_param_seeds():
    seeds = []
    for name in EXAMPLES:
        params = example(name, "shift_param.txt")
        seeds += [params, crlf(params)]
    seeds += [b"0\n1\n0\n", b"0.15 0.1 0.2\n", b"0.15\nx\n0.2\n", b"0.15\n0.1\n"]
    return seeds


def schedule_seeds():
    seeds = []
    for name in EXAMPLES:
        for file in ("urban_shift.txt", "highway_shift.txt"):
            schedule = lines(example(name, file), 60)
            seeds += [bytes([50]) + schedule, bytes([59]) + crlf(schedule)]
    seeds.append(bytes([3]) + b"\n1 0\n2 1\n3 2\n")
    seeds.append(bytes([3]) + b"h\n1\n2 1\n3 2\n4 2\n")
    seeds.append(bytes([3]) + b"h\n'1' 0\n'2' 1\n3 x\n")
    seeds.append(bytes([4]) + b"h\n1 0\n2 1\n")
    seeds.append(bytes([2]) + b"h\n1 -5\n2 99\n3 1\n")
    return seeds


def run_input(files):
    return b"".join(files[name] + SEPARATOR for name in RUN_FILES)


def whole_run_seeds():
    seeds = []
    for name in EXAMPLES:
        files = {file: example(name, file) for file in RUN_FILES}
        seeds.append(run_input(files))
    t5 = {file: example("t5-truck", file) for file in RUN_FILES}
    variants = [
        ("spec.txt", replace_line(t5["spec.txt"], 8, b"0")),              # no trace
        ("spec.txt", replace_line(t5["spec.txt"], 11, b"0")),             # idle stop off
        ("transmission.txt", replace_line(t5["transmission.txt"], 11, b"1")),  # converter
        ("shift_param.txt", b"0.5\n0.4\n0.6\n"),                           # high floors
        ("urban_shift.txt", replace_line(t5["urban_shift.txt"], 40, b"39 0")),  # gear 0
        ("highway_shift.txt", replace_line(t5["highway_shift.txt"], 5, b"4 9")),  # no gear 9
    ]
    for file, content in variants:
        changed = dict(t5)
        changed[file] = content
        seeds.append(run_input(changed))
    return seeds


HARNESSES = {
    "freeformat_fuzz": freeformat_seeds,
    "spec_file_fuzz": spec_seeds,
    "engine_file_fuzz": engine_seeds,
    "transmission_file_fuzz": transmission_seeds,
    "torque_file_fuzz": torque_seeds,
    "fuel_map_file_fuzz": fuel_map_seeds,
    "shift_param_fuzz": shift_param_seeds,
    "schedule_file_fuzz": schedule_seeds,
    "whole_run_fuzz": whole_run_seeds,
}


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = pathlib.Path(sys.argv[1])
    for harness, seeds in HARNESSES.items():
        folder = out / harness
        folder.mkdir(parents=True, exist_ok=True)
        for seed in seeds():
            (folder / hashlib.sha1(seed).hexdigest()).write_bytes(seed)


if __name__ == "__main__":
    main()
