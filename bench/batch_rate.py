#!/usr/bin/env python3
"""Times `kova batch` over 2,000 settings files for examples/fifo.xml
against one `kova validate` process per file, and prints the
configurations per second of both and the ratio. The goal: 50x or more.

usage: bench/batch_rate.py KOVA [SOURCE_DIR]

The files vary every parameter of the FIFO over legal and illegal values
(depths outside the list, distributed memory for deep FIFOs, thresholds
outside the FIFO), so about half of them are invalid. The one-process
figure comes from a sample of 200 files (every tenth), timed one process
after another and scaled to the 2,000; the batch runs with the hardware's
threads, best of three. Wall-clock time suffers from other work on the
machine; the CPU time (user and system) of the processes is printed
too."""
import os, resource, subprocess, sys, tempfile, time

FILES = 2000
SAMPLE_EVERY = 10  # one process per file for every tenth file


def settings_text(k):
    """Configuration k: mostly legal values, with an illegal one in about
    half of the files."""
    depth = [16, 32, 64, 128, 256, 512, 1000][k % 7]
    memory = ["block", "block", "distributed"][(k // 7) % 3]
    width = [1, 8, 72, 256, 300, 12][(k // 21) % 6]
    level = [12, 1, depth - 1, 12, depth][(k // 126) % 5]
    count = (k // 630) % 2
    return ("# generated configuration %d\nWIDTH=%d\nDEPTH=%d\nMEMORY_TYPE=%s\nHAS_DATA_COUNT=%d\n"
            "data_count=%s\nALMOST_FULL_LEVEL=%d\n" % (k, width, depth, memory, count,
                                                     "USED" if count else "UNUSED", level))


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def timed(argv):
    """Wall-clock seconds, CPU seconds (user and system) and the result."""
    start, cpu = time.perf_counter(), children_cpu()
    result = subprocess.run(argv, capture_output=True)
    return time.perf_counter() - start, children_cpu() - cpu, result


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    kova = sys.argv[1]
    source = sys.argv[2] if len(sys.argv) == 3 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    fifo = os.path.join(source, "examples", "fifo.xml")
    with tempfile.TemporaryDirectory(prefix="kova-batch-bench-") as folder:
        paths = []
        for k in range(FILES):
            paths.append(os.path.join(folder, "c%04d.settings" % k))
            with open(paths[-1], "w") as out:
                out.write(settings_text(k))
        batch_seconds = batch_cpu = lines = None
        for _ in range(3):
            seconds, cpu, result = timed([kova, "batch", fifo] + paths)
            if result.returncode not in (0, 1):
                sys.exit("kova batch failed:\n" + result.stdout.decode()[:2000] + result.stderr.decode()[:2000])
            batch_seconds = seconds if batch_seconds is None else min(batch_seconds, seconds)
            batch_cpu = cpu if batch_cpu is None else min(batch_cpu, cpu)
            lines = result.stdout.decode().splitlines()
        invalid = sum(line.endswith(")") for line in lines)
        sample = paths[::SAMPLE_EVERY]
        process_seconds = process_cpu = 0.0
        for path in sample:
            seconds, cpu, result = timed([kova, "validate", fifo, "--settings", path])
            if result.returncode not in (0, 1):
                sys.exit("kova validate failed on %s:\n%s" % (path, result.stdout.decode()[:2000]))
            process_seconds += seconds
            process_cpu += cpu
        batch_rate = FILES / batch_seconds
        process_rate = len(sample) / process_seconds
        print("batch: %d files (%d invalid) in %.3f s with %d threads: %.0f configurations/s"
              % (FILES, invalid, batch_seconds, os.cpu_count() or 1, batch_rate))
        print("validate, one process per file: %d files in %.3f s: %.0f configurations/s (%.1f s for %d)"
              % (len(sample), process_seconds, process_rate, FILES / process_rate, FILES))
        print("ratio batch / processes: %.1fx (goal: 50x or more)" % (batch_rate / process_rate))
        print("CPU seconds per configuration: batch %.1f us, one process %.1f us: ratio %.1fx"
              % (batch_cpu / FILES * 1e6, process_cpu / len(sample) * 1e6,
                 (process_cpu / len(sample)) / (batch_cpu / FILES)))


if __name__ == "__main__":
    main()
