#!/usr/bin/env python3
"""Opening a large circuit as a user meets it: the whole trivenor-run process (reading, building,
the pass that ends a load, freeing at exit) on a file of 100,000 "+" parts, less the same process
on a file of one part, against `cat` of the large file. Prints the time ratios and the growth of
the peak memory per part.

    scripts/bench_load.py [BUILD_DIR] [RUNS]      (default: build/release, 11 runs)
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

PARTS = 100_000


def run(command, folder):
    """Wall seconds, CPU seconds (user + system) and peak resident bytes of one whole process.

    The peak comes from GNU time: a child started straight from this interpreter would report
    the interpreter's own peak when its own is lower."""
    report = os.path.join(folder, "peak")
    start = time.perf_counter()
    with open(os.devnull, "wb") as sink:
        process = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", report] + command,
                                   stdout=sink, stdin=subprocess.DEVNULL)
        _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{command[0]} failed")
    with open(report) as peak:
        kilobytes = int(peak.read().split()[-1])
    return wall, usage.ru_utime + usage.ru_stime, kilobytes * 1024


def medians(samples):
    return [statistics.median(column) for column in zip(*samples)]


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build/release"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 11
    runner = os.path.join(build, "src/cli/trivenor-run")
    with tempfile.TemporaryDirectory() as folder:
        large = os.path.join(folder, "large.trv")
        small = os.path.join(folder, "small.trv")
        maker = os.path.join(build, "tools/make_plus_chain")
        subprocess.run([maker, str(PARTS), large], check=True)
        subprocess.run([maker, "1", small], check=True)
        commands = {
            "large": [runner, large, "--run", "0"],
            "small": [runner, small, "--run", "0"],
            "cat": ["cat", large],
        }
        samples = {name: [] for name in commands}
        for _ in range(runs + 1):  # the first round only warms the caches
            for name, command in commands.items():
                samples[name].append(run(command, folder))
        figures = {name: medians(values[1:]) for name, values in samples.items()}
        size = os.path.getsize(large)

    large_wall, large_cpu, large_peak = figures["large"]
    small_wall, small_cpu, small_peak = figures["small"]
    cat_wall, cat_cpu, _ = figures["cat"]
    print(f"file: {PARTS} parts, {size / 1e6:.1f} MB; medians of {runs} runs")
    print(f"trivenor-run: wall {large_wall * 1e3:.1f} ms, cpu {large_cpu * 1e3:.1f} ms "
          f"(one part: wall {small_wall * 1e3:.1f} ms, cpu {small_cpu * 1e3:.1f} ms)")
    print(f"cat:          wall {cat_wall * 1e3:.1f} ms, cpu {cat_cpu * 1e3:.1f} ms")
    print(f"load vs cat, wall: {(large_wall - small_wall) / cat_wall:.1f}x")
    print(f"load vs cat, cpu:  {(large_cpu - small_cpu) / max(cat_cpu, 1e-3):.1f}x")
    print(f"load speed: {size / 1e6 / (large_wall - small_wall):.0f} MB/s (wall)")
    print(f"peak memory per part: {(large_peak - small_peak) / PARTS:.0f} bytes")


if __name__ == "__main__":
    main()
