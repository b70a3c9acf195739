#!/usr/bin/env python3
"""Feeds scripts/bench-report fabricated benchmark results and checks its verdicts: the regression
guard fails only on an operation both slower than its baseline by more than the slack and over its
budget, and the table marks misses, unmeasured rows and superlinear growth."""

import json
import os
import subprocess
import sys
import tempfile

SCRIPT = os.path.join(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", ".."),
                      "scripts", "bench-report")

BUDGETS = {
    "rows": [
        {"operation": "tick", "median_ms": 0.3, "benchmarks": ["bench_a/BM_Tick/6/8"]},
        {"operation": "press", "median_ms": 0.2, "p99_ms": 1.0, "benchmarks": ["bench_a/BM_Press"],
         "median_counter": "median_ms", "p99_counter": "p99_ms"},
        {"operation": "event", "median_ms": 0.005, "allocs": 0, "allocs_counter": "allocs/event",
         "benchmarks": ["bench_a/BM_Event/0", "bench_a/BM_Event/1"]},
        {"operation": "save", "median_ms": 30.0, "benchmarks": ["bench_a/BM_Save"]},
        {"operation": "menu", "median_ms": 2.0, "benchmarks": ["bench_b/BM_Missing"]},
    ],
    "growth": [
        {"operation": "plan", "sizes": [30, 300], "benchmarks": ["bench_a/BM_Plan/30", "bench_a/BM_Plan/300"]},
    ],
}
BASELINE = {"tick": {"median_ms": 0.1}, "press": {"median_ms": 0.1}, "event": {"median_ms": 0.002},
            "save": {"median_ms": 28.0}}


def result(name, real_time, unit="us", aggregate=None, **counters):
    run = {"name": name, "run_name": name, "real_time": real_time, "cpu_time": real_time, "time_unit": unit,
           "iterations": 100, "run_type": "aggregate" if aggregate else "iteration"}
    if aggregate:
        run["name"] = f"{name}_{aggregate}"
        run["aggregate_name"] = aggregate
    run.update(counters)
    return run


def runs(tick_us=100, press_ms=0.1, press_p99_ms=0.5, event_us=1.0, event_allocs=0, plan300_ms=10.0, save_ms=20.0):
    return [
        # Repetition suffixes and aggregates as Google Benchmark writes them.
        result("BM_Tick/6/8/repeats:3", tick_us * 3, aggregate="mean"),
        result("BM_Tick/6/8/repeats:3", tick_us, aggregate="median"),
        result("BM_Press", 150, median_ms=press_ms, p99_ms=press_p99_ms),
        result("BM_Event/0", event_us * 1000, unit="ns", **{"allocs/event": event_allocs}),
        result("BM_Event/1", 500, unit="ns", **{"allocs/event": 0}),
        result("BM_Save", save_ms, unit="ms"),
        result("BM_Plan/30/manual_time", 1.0, unit="ms"),
        result("BM_Plan/300/manual_time", plan300_ms, unit="ms"),
    ]


# (what, fabricated figures, expected check exit, expected table exit, texts the table shows)
CASES = [
    ("the real run passes", {}, 0, 0, ["not measured", "pass (exponent 1.00)"]),
    ("slower than baseline but within budget", {"tick_us": 250}, 0, 0, []),
    ("over budget but within 25% of baseline", {"save_ms": 33.0}, 0, 1, ["MISS (median)"]),
    ("deliberately slowed: 3x baseline and over budget", {"tick_us": 400}, 1, 1, ["MISS (median)"]),
    ("per-call median counter slowed", {"press_ms": 0.5}, 1, 1, ["MISS (median)"]),
    ("p99 over budget alone is a table miss, not a regression", {"press_p99_ms": 3.0}, 0, 1, ["MISS (p99)"]),
    ("worst of a row's benchmarks counts", {"event_us": 9.0}, 1, 1, ["MISS (median)"]),
    ("an allocation is a table miss", {"event_allocs": 2}, 0, 1, ["MISS (allocations)"]),
    ("quadratic growth is a miss", {"plan300_ms": 100.0}, 0, 1, ["MISS (superlinear 2.00)"]),
]


def run_case(folder, figures):
    results = os.path.join(folder, "results")
    os.makedirs(results, exist_ok=True)
    with open(os.path.join(results, "bench_a.json"), "w") as handle:
        json.dump({"context": {}, "benchmarks": runs(**figures)}, handle)
    budgets = os.path.join(folder, "budgets.json")
    baseline = os.path.join(folder, "baseline.json")
    with open(budgets, "w") as handle:
        json.dump(BUDGETS, handle)
    with open(baseline, "w") as handle:
        json.dump(BASELINE, handle)
    check = subprocess.run([sys.executable, SCRIPT, "check", results, baseline, "--budgets", budgets],
                           capture_output=True, text=True)
    table = subprocess.run([sys.executable, SCRIPT, "table", results, "--budgets", budgets],
                           capture_output=True, text=True)
    return check, table


def main():
    failures = 0
    for what, figures, check_exit, table_exit, texts in CASES:
        with tempfile.TemporaryDirectory() as folder:
            check, table = run_case(folder, figures)
        problems = []
        if check.returncode != check_exit:
            problems.append(f"check exited {check.returncode}, expected {check_exit}:\n{check.stdout}{check.stderr}")
        if table.returncode != table_exit:
            problems.append(f"table exited {table.returncode}, expected {table_exit}:\n{table.stdout}{table.stderr}")
        problems += [f"table lacks {text!r}:\n{table.stdout}" for text in texts if text not in table.stdout]
        if check_exit == 1 and "REGRESSION" not in check.stdout:
            problems.append("check named no regressed operation")
        if "baseline median" not in check.stdout:
            problems.append(f"check printed no comparison with the baseline:\n{check.stdout}")
        failures += bool(problems)
        print(("FAIL " if problems else "ok   ") + what)
        for problem in problems:
            print("     " + problem)

    # Nothing to compare (an empty results folder) is a failure, not a silent pass.
    with tempfile.TemporaryDirectory() as folder:
        baseline = os.path.join(folder, "baseline.json")
        with open(baseline, "w") as handle:
            json.dump(BASELINE, handle)
        empty = subprocess.run([sys.executable, SCRIPT, "check", folder, baseline], capture_output=True, text=True)
    if empty.returncode != 1:
        failures += 1
        print("FAIL an empty result folder passed the check")
    else:
        print("ok   an empty result folder fails the check")
    print(f"{len(CASES) + 1 - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
