#!/usr/bin/env python3
"""Time and peak memory of `varn-tool import` against the size of the document, for the
shapes that cost most: one object of very many keys (inside the ignored "derived"), a long
list of empty arrays (also ignored), and a list of talents at the list limit (each padded
with an unknown key; refused in the end, as the talent repeats, but read whole first).
Sizes go up to the import's limit (8 MiB); one size past it shows the refusal.

Printed: shape, file size, CPU seconds (user + system, median of RUNS runs, default 5),
peak resident memory of the process, and that peak above the floor (the same program on
the veteran example).

usage: bench/json_import_scaling.py [BUILD_DIR]   (default: build; varn-tool built there)
"""
import json
import os
import resource
import statistics
import subprocess
import sys
import tempfile

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build")
runs = int(os.environ.get("RUNS", "5"))
tool = os.path.join(build, "bin", "varn-tool")
data = os.path.join(root, "data")
limit = 8 << 20


def measure(path, out):
    """(median CPU seconds, peak KiB, exit status) of importing `path`."""
    times, peaks, status = [], [], None
    for _ in range(runs):
        # A child of its own per run, so that its peak is not another run's.
        probe = ("import resource, subprocess, sys\n"
                 "r = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL,"
                 " stderr=subprocess.DEVNULL)\n"
                 "u = resource.getrusage(resource.RUSAGE_CHILDREN)\n"
                 "print(u.ru_utime + u.ru_stime, u.ru_maxrss, r.returncode)\n")
        line = subprocess.run([sys.executable, "-c", probe, tool, "import", "--data", data,
                               path, out], capture_output=True, text=True).stdout.split()
        times.append(float(line[0]))
        peaks.append(int(line[1]))
        status = int(line[2])
    return statistics.median(times), max(peaks), status


def main():
    with tempfile.TemporaryDirectory() as tmp:
        base = os.path.join(tmp, "veteran.json")
        subprocess.run([tool, "export", "--data", data,
                        os.path.join(root, "examples", "veteran.vrn"), base], check=True)
        text = open(base).read()
        _, floor, _ = measure(base, os.path.join(tmp, "out.vrn"))
        print(f"floor (veteran example, {len(text)} bytes): {floor} KiB")
        print(f"{'shape':<14}{'bytes':>11}{'cpu s':>9}{'peak KiB':>11}{'above floor':>13}"
              f"{'exit':>6}")
        for shape in ("keys", "arrays", "talents"):
            for size in (limit // 8, limit // 4, limit // 2, limit - 4096, limit + 4096):
                path = os.path.join(tmp, f"{shape}-{size}.json")
                with open(path, "w") as f:
                    f.write(make(text, shape, size))
                cpu, peak, status = measure(path, os.path.join(tmp, "out.vrn"))
                print(f"{shape:<14}{os.path.getsize(path):>11}{cpu:>9.3f}{peak:>11}"
                      f"{peak - floor:>13}{status:>6}")


def make(text, shape, size):
    """The veteran document grown to about `size` bytes in the given shape."""
    doc = json.loads(text)
    room = size - len(text)
    if shape == "keys":
        keys = []
        used = 0
        i = 0
        while used < room:
            k = f'"k{i}": 0, '
            keys.append(k)
            used += len(k)
            i += 1
        return text.replace('"derived": {', '"derived": {' + "".join(keys), 1)
    if shape == "arrays":
        return text.replace('"derived": {', '"derived": {"many": [' +
                            ",".join(["[]"] * (room // 3)) + '], ', 1)
    # talents: the list limit of entries, each padded with an unknown key to reach the size
    pad = max(0, room // 10000 - 60)
    doc["talents"] = [{"name": "Durability (4/3)", "rank": 1, "note": "x" * pad}
                      for _ in range(10000)]
    return json.dumps(doc)


main()
