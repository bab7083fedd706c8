#!/usr/bin/env python3
"""Times `fennory-batch patch --root ... --remake` (walk, catalogue, sort, patch, report) on a
generated fleet against, in the same run, the read bound (a process that opens each ship file
named in the catalogue, reads it once and closes it) and a plain Python script
(modder_patch.py). All three are timed as whole processes, start-up included. Also reports the
peak memory of fennory-batch (/usr/bin/time -v) on this fleet and on one ten times larger.

    bench/batch_bench.py [--build build] [--files 3000] [--rounds 5] [--large-files 30000]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def run(args, cwd):
    """Runs a command; returns its wall seconds."""
    start = time.perf_counter()
    subprocess.run(args, cwd=cwd, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def peak_memory_kb(args, cwd):
    """The command's maximum resident set size, as /usr/bin/time -v reports it."""
    result = subprocess.run(["/usr/bin/time", "-v"] + args, cwd=cwd, check=True,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    for line in result.stderr.splitlines():
        if "Maximum resident set size" in line:
            return int(line.split(":")[1])
    sys.exit("no memory figure from /usr/bin/time")


def make_fleet(build, folder, files, min_kb, max_kb):
    subprocess.run([os.path.join(build, "tools/fennory-make-fleet"), folder, "--seed", "42",
                    "--files", str(files), "--min-kb", str(min_kb), "--max-kb", str(max_kb)],
                   check=True, stdout=subprocess.DEVNULL)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--files", type=int, default=3000)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--large-files", type=int, default=30000)
    options = parser.parse_args()
    build = os.path.abspath(options.build)
    batch = os.path.join(build, "src/batch/fennory-batch")
    bound = os.path.join(build, "bench/fennory-read-bound")
    scratch = tempfile.mkdtemp(prefix="fennory-batch-bench-")
    try:
        make_fleet(build, os.path.join(scratch, "fleet"), options.files, 20, 150)
        patch = [batch, "patch", "--root", "fleet", "--remake", "--engine-power", "100",
                 "--rudder-drag", "0.2", "--surface-drag", "0.3", "--gc-height"]
        run(patch + ["4"], scratch)  # writes the catalogue the read bound reads
        shutil.copy(os.path.join(scratch, "DIR4.TXT"), os.path.join(scratch, "LIST.TXT"))
        run([bound, "LIST.TXT"], scratch)  # warm the page cache
        reads, batches, pythons = [], [], []
        for round_ in range(options.rounds):
            reads.append(run([bound, "LIST.TXT"], scratch))
            gc = str(5 + round_ % 2)  # a new value every round, so every file is written
            batches.append(run(patch + [gc], scratch))
            pythons.append(run([sys.executable, os.path.join(HERE, "modder_patch.py"), "fleet",
                                gc, "0.3", "100", "0.2"], scratch))
        read, whole, python = (statistics.median(v) for v in (reads, batches, pythons))
        print("fleet: %d files of 20-150 KB, median of %d rounds" % (options.files, options.rounds))
        print("read bound (open, read, close):  %8.1f ms" % (read * 1e3))
        print("fennory-batch patch --remake:    %8.1f ms" % (whole * 1e3))
        print("python modder script:            %8.1f ms" % (python * 1e3))
        print("ratio batch / read bound: %.2f (target <= 1.50)" % (whole / read))
        print("ratio batch / python:     %.2f (target <= 0.30)" % (whole / python))
        print("peak memory, %d files: %d kB" % (options.files, peak_memory_kb(patch + ["5"], scratch)))

        shutil.rmtree(os.path.join(scratch, "fleet"))
        make_fleet(build, os.path.join(scratch, "large"), options.large_files, 1, 4)
        large = [batch, "patch", "--root", "large", "--remake", "--gc-height", "5"]
        print("peak memory, %d files of 1-4 KB: %d kB"
              % (options.large_files, peak_memory_kb(large, scratch)))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
