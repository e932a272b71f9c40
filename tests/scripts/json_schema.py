#!/usr/bin/python3
"""Validates every JSON output of timer555-cli against its schema in docs/schema.

Runs a grid of commands (every design, both families, limits broken and
answers that cannot be met, the one-shot's nulls) under the C locale and a
comma-decimal one, and fails on the first output that does not validate, is
not one line, or that a schema does not describe. Arguments: the
timer555-cli executable, the schema folder.
"""
import json
import os
import pathlib
import shutil
import subprocess
import sys

from jsonschema import Draft202012Validator, RefResolver

CLI = sys.argv[1]
SCHEMAS = pathlib.Path(sys.argv[2])

ASTABLES = [["1", "-f", "1000", "-d", "75"], ["2", "-f", "50000"],
            ["3", "-f", "1000", "-d", "25"], ["1", "-f", "0.2", "-d", "90"]]
ONE_SHOTS = [["4", "-t", "0.001"], ["4", "-t", "100"]]

GRID = []
for design in ASTABLES + ONE_SHOTS:
    GRID.append(["design"] + design)
    for family in ["bipolar", "cmos"]:
        GRID.append(["check"] + design + ["--family", family])
        GRID.append(["parts"] + design + ["--family", family, "--samples", "300"])
GRID += [
    # Limits broken, parts given, never switching, a kind chosen.
    ["check", "1", "-f", "1000", "-d", "75", "--r1", "10M", "--r2", "2M2", "--c1", "1n"],
    ["check", "3", "-f", "1000", "-d", "25", "--vcc", "5", "--c1", "4u7",
     "--c1-type", "electrolytic", "--series", "E96", "--temperature", "-40,85"],
    ["check", "4", "-t", "1", "--r1", "100M", "--c1", "1u", "--vcc", "3"],
    ["check", "2", "-f", "1000000", "--vcc", "20"],
    # Answers that cannot be met, a draining battery, kinds restricted.
    ["parts", "1", "-f", "1000", "-d", "75", "--vcc", "20", "--samples", "200"],
    ["parts", "3", "-f", "300000", "-d", "10", "--samples", "200"],
    ["parts", "1", "-f", "1000", "-d", "60", "--vcc-range", "6,9", "--vcc", "9",
     "--capacitor-types", "film", "--tolerance", "1,2", "--window", "2,1", "--samples", "200"],
    ["parts", "4", "-t", "0.5", "--capacitors", "E12", "--series", "E96", "--samples", "200"],
]
if shutil.which("ngspice"):
    for design in ASTABLES[:3] + ONE_SHOTS[:1]:
        GRID.append(["simulate"] + design)

resolver_store = {}
validators = {}
for path in SCHEMAS.glob("*.schema.json"):
    schema = json.loads(path.read_text())
    Draft202012Validator.check_schema(schema)
    resolver_store[schema["$id"]] = schema
for name in ["design", "check", "parts", "simulate"]:
    schema = resolver_store[f"https://timer555.example.org/schema/{name}.schema.json"]
    validators[name] = Draft202012Validator(
        schema, resolver=RefResolver.from_schema(schema, store=resolver_store))

# A number's key names its unit; these few are counts and names.
UNITS = ("_ohm", "_farad", "_hz", "_s", "_v", "_a", "_c", "_fraction", "_per_c", "_per_v")
COUNTS = {"mode", "samples", "seed", "stopped_corners", "corners"}


def unitless_numbers(value, path=""):
    """The keys under `value` whose numbers carry no unit in their name."""
    if isinstance(value, dict):
        for key, item in value.items():
            numeric = isinstance(item, (int, float)) and not isinstance(item, bool)
            numeric |= isinstance(item, list) and any(isinstance(x, float) for x in item)
            if numeric and key not in COUNTS and not key.endswith(UNITS):
                yield f"{path}/{key}"
            yield from unitless_numbers(item, f"{path}/{key}")
    elif isinstance(value, list):
        for i, item in enumerate(value):
            yield from unitless_numbers(item, f"{path}/{i}")


failures = 0
count = 0
for locale in ["C", "de_DE.UTF-8"]:
    env = dict(os.environ, LC_ALL=locale, LANG=locale, QT_QPA_PLATFORM="offscreen")
    for args in GRID:
        command = args[0]
        run = subprocess.run([CLI] + args + ["--json"], capture_output=True, text=True,
                             env=env, timeout=120, check=False)
        where = f"{locale}: {' '.join(args)}"
        if run.returncode != 0:
            print(f"{where}: exit {run.returncode}: {run.stderr.strip()}")
            failures += 1
            continue
        if run.stdout.count("\n") != 1:
            print(f"{where}: not one line")
            failures += 1
        document = json.loads(run.stdout)
        errors = sorted(validators[command].iter_errors(document), key=lambda e: e.path)
        for error in errors[:5]:
            print(f"{where}: {'/'.join(map(str, error.absolute_path))}: {error.message}")
        failures += bool(errors)
        if command != "design":  # its keys predate the vocabulary
            for key in unitless_numbers(document):
                print(f"{where}: {key}: a number without its unit in the key")
                failures += 1
        count += 1

print(f"{count} outputs validated, {failures} failed")
sys.exit(1 if failures or count == 0 else 0)
