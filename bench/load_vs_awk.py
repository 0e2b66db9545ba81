#!/usr/bin/env python3
"""Whole-process cost of `varn-tool check` on the load benchmark's synthetic set (about a
hundred times the shipped data), side by side with an awk pass that only counts the lines of
the same files.

Each is run RUNS times (default 15), interleaved so that the machine's load falls on both
alike. Printed: the median CPU time (user + system) of each and their ratio, and the peak
memory of varn-tool above its floor (the same program on a nearly empty data set) against
the size of the data.

usage: bench/load_vs_awk.py [BUILD_DIR]   (default: build; varn-tool and bench_rules_load
                                           must be built there)
"""
import os
import statistics
import subprocess
import sys
import tempfile

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build")
runs = int(os.environ.get("RUNS", "15"))
tool = os.path.join(build, "bin", "varn-tool")
generator = os.path.join(build, "bin", "bench_rules_load")


def cpu(args):
    """CPU seconds (user + system, to the microsecond) of one run of `args`."""
    with open(os.devnull, "wb") as null:
        process = subprocess.Popen(args, stdout=null)
        _, status, usage = os.wait4(process.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {' '.join(args)}")
    return usage.ru_utime + usage.ru_stime


def peak(args, work):
    """Peak resident kilobytes of one run of `args`, from GNU time: a program started straight
    from here would inherit this interpreter's memory in its peak."""
    report = os.path.join(work, "peak")
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report, *args], check=True,
                   stdout=subprocess.DEVNULL)
    with open(report) as text:
        return int(text.read().split()[-1])


with tempfile.TemporaryDirectory() as work:
    data = os.path.join(work, "set")
    subprocess.run([generator, "--write-set", data], check=True)
    floor = os.path.join(work, "floor")
    os.mkdir(floor)
    for name in ("Skills", "Races", "Talents", "Disciplines", "Spells", "Equipment"):
        open(os.path.join(floor, name + ".dat"), "w").close()
    with open(os.path.join(floor, "VARN.dat"), "w") as varn:
        varn.write("[Attributes]\n1 1 1 1 1 1 1 1 1 1 1\n[Action Dice]\n1 D4\n")
    files = sorted(os.path.join(data, f) for f in os.listdir(data))
    size = sum(os.path.getsize(f) for f in files)

    check = [tool, "check", "--data", data]
    count = ["awk", "{n++} END {print n}", *files]
    tool_cpu, awk_cpu, tool_kb, floor_kb = [], [], [], []
    for _ in range(runs):
        tool_cpu.append(cpu(check))
        awk_cpu.append(cpu(count))
    for _ in range(3):
        tool_kb.append(peak(check, work))
        floor_kb.append(peak([tool, "check", "--data", floor], work))

tool_cpu = statistics.median(tool_cpu)
awk_cpu = statistics.median(awk_cpu)
tool_kb = statistics.median(tool_kb)
floor_kb = statistics.median(floor_kb)
print(f"data set: {size} bytes in {len(files)} files; {runs} runs each, medians")
print(f"varn-tool check: {tool_cpu * 1000:.1f} ms CPU, peak {tool_kb} kB (floor {floor_kb} kB)")
print(f"awk '{{n++}}':     {awk_cpu * 1000:.1f} ms CPU")
print(f"CPU time varn-tool / awk: x{tool_cpu / awk_cpu:.2f}")
print(f"peak memory above the floor / data size: x{(tool_kb - floor_kb) * 1024 / size:.2f}")
