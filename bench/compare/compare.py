"""Times every nrx plug-in through the host against its fastest peer.

    scripts/bench.sh [--rounds N] [--quick] [--only CASE,...] [--out DIR]
                     [--plugins DIR] [--scans DIR]

Makes the inputs once (compare_inputs.m) and checks that the scan
nrx_nifti_read read equals nibabel's reading; starts long-lived workers with
glibc's memory settings of scripts/memory_settings.sh (the host at one
thread and at all threads, Python with the peers at one thread) and the host
at one thread with glibc's defaults; then, in
every round, runs every contender of every case once, the order rotated by
one each round, each worker timing its own call. Prints the table and
writes comparison.csv, ratios.png and index.html into the output folder.
Exits non-zero when a call failed or the comparison could not run.
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

sys.dont_write_bytecode = True     # the source tree stays as cloned
from workers import MEMORY_SETTINGS, THREAD_VARIABLES, WorkerError, octave_worker, python_worker
for variable in THREAD_VARIABLES:
    os.environ.setdefault(variable, "1")    # before numpy: the driver only checks and reports
import nibabel
import numpy as np

from cases import CASES
from common import load, private_ipc_namespace
import report

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def options():
    p = argparse.ArgumentParser(prog="scripts/bench.sh",
                                description="Times every nrx plug-in against its fastest peer.")
    p.add_argument("--rounds", type=int, help="timed rounds (default 5; 1 with --quick)")
    p.add_argument("--quick", action="store_true",
                   help="small inputs (every fourth voxel), one round, no warm-up: the smoke run")
    p.add_argument("--only", default="", help="comma-separated case names (default: all)")
    p.add_argument("--out", default=os.path.join(ROOT, "build", "bench-compare"), help="output folder")
    p.add_argument("--plugins", default=os.path.join(ROOT, "build", "plugins"), help="plug-in folder")
    p.add_argument("--scans", default="/usr/share/mricron/templates",
                   help="folder of ch2.nii.gz and ch2bet.nii.gz")
    a = p.parse_args()
    if a.rounds is None:
        a.rounds = 1 if a.quick else 5
    return a


def octave(expression, paths):
    quoted = ", ".join("'%s'" % path.replace("'", "''") for path in paths)
    subprocess.run(["octave-cli", "--norc", "--no-history", "--no-window-system", "--eval",
                    "addpath(%s); %s" % (quoted, expression)], check=True)


def make_inputs(a, folder):
    """Writes the inputs; returns the scan files they were read from (none for the phantom)."""
    octave("compare_inputs('%s', '%s', %s)" % (folder, a.scans, "true" if a.quick else "false"),
           [a.plugins, HERE, os.path.join(ROOT, "demo")])
    with open(os.path.join(folder, "source.txt")) as f:
        return [line for line in f.read().splitlines() if line != "phantom"]


def check_scans(scans, folder):
    """The volumes and matrix nrx_nifti_read gave must be nibabel's."""
    step = int(load(folder, "scan_step").item())
    every = slice(None, None, step)
    for scan, name in zip(scans, ("T1", "brain")):
        image = nibabel.load(scan)
        theirs = np.asanyarray(image.dataobj)[every, every, every]
        ours = load(folder, name)
        if theirs.dtype != ours.dtype or not np.array_equal(theirs, ours):
            sys.exit("compare: nrx_nifti_read and nibabel read %s differently" % scan)
        if name == "T1" and not np.allclose(image.affine @ np.diag([step, step, step, 1]), load(folder, "M")):
            sys.exit("compare: nrx_nifti_read and nibabel give %s different matrices" % scan)


def nifti_file(a, folder, scans):
    """The file the reader case reads: the T1 scan, or in quick mode a small copy of its input."""
    if scans and not a.quick:
        return scans[0]
    path = os.path.join(folder, "t1.nii.gz")
    nibabel.save(nibabel.Nifti1Image(load(folder, "T1"), load(folder, "M")), path)
    return path


def transparent_huge_pages():
    """The kernel's mode, the bracketed word of its setting."""
    try:
        with open("/sys/kernel/mm/transparent_hugepage/enabled") as f:
            setting = f.read()
    except OSError:
        return "unknown"
    return setting[setting.find("[") + 1:setting.find("]")] if "[" in setting else setting.strip()


def contenders(case, workers):
    """(column, worker, side) of every contender of a case."""
    peer = workers["nrx_1"] if case.peer_in_octave else workers["python"]
    found = [("nrx_1", workers["nrx_1"], "nrx"), ("nrx_all", workers["nrx_all"], "nrx"), ("peer", peer, "peer")]
    if case.floor and case.inputs:
        found.append(("floor", workers["python"], "floor"))
    if case.without_memory_settings:
        found.append(("nrx_1_plain", workers["nrx_1_plain"], "nrx"))
    return found


def measure(cases, workers, rounds, warm_up):
    """times[case][column] = seconds of each timed round; errors[case] = message."""
    times = {case.name: {} for case in cases}
    errors = {}
    for r in range(-warm_up, rounds):
        print("compare: %s" % ("warm-up round" if r < 0 else "round %d of %d" % (r + 1, rounds)),
              file=sys.stderr, flush=True)
        for case in cases:
            if case.name in errors:
                continue
            order = contenders(case, workers)
            shift = r % len(order)
            for column, worker, side in order[shift:] + order[:shift]:
                try:
                    seconds = worker.time(case.name, side, case.repeat, case.inputs)
                except WorkerError as err:
                    errors[case.name] = "%s (%s): %s" % (column, worker.label, err)
                    break
                if r >= 0:
                    times[case.name].setdefault(column, []).append(seconds)
    return times, errors


def summarise(times):
    """min and median of every contender, in seconds."""
    return {case: {column: (min(t), statistics.median(t)) for column, t in columns.items()}
            for case, columns in times.items()}


def main():
    a = options()
    if MEMORY_SETTINGS not in os.environ:
        sys.exit("compare: no %s: run the comparison as scripts/bench.sh" % MEMORY_SETTINGS)
    if not os.path.isdir(a.plugins):
        sys.exit("compare: no plug-ins in %s (build first: scripts/build.sh)" % a.plugins)
    inputs = os.path.join(a.out, "inputs")
    os.makedirs(inputs, exist_ok=True)
    only = set(filter(None, a.only.split(",")))
    unknown = only - {case.name for case in CASES}
    if unknown:
        sys.exit("compare: no case %s" % ", ".join(sorted(unknown)))
    cases = [case for case in CASES if not only or case.name in only]
    skipped = []
    if not private_ipc_namespace():
        skipped = [case.name for case in cases if case.acquisition]
        cases = [case for case in cases if not case.acquisition]

    started = time.time()
    load_before = os.getloadavg()
    try:
        scans = make_inputs(a, inputs)
    except subprocess.CalledProcessError:
        sys.exit("compare: could not make the inputs")
    if scans:
        check_scans(scans, inputs)
    nifti = nifti_file(a, inputs, scans)

    threads = os.cpu_count()
    paths = [a.plugins, HERE, os.path.join(ROOT, "tests", "octave", "support")]
    workers = {
        "nrx_1": octave_worker("host, 1 thread", paths, inputs, nifti, 1, True),
        "nrx_all": octave_worker("host, %d threads" % threads, paths, inputs, nifti, threads, True),
        "python": python_worker("Python", sys.executable, os.path.join(HERE, "peers.py"), inputs, nifti),
    }
    if any(case.without_memory_settings for case in cases):
        workers["nrx_1_plain"] = octave_worker("host, 1 thread, glibc defaults", paths, inputs, nifti, 1, False)
    try:
        times, errors = measure(cases, workers, a.rounds, 0 if a.quick else 1)
        huge_pages = {w.label: w.huge_page_kib() for w in workers.values()}
    except RuntimeError as err:
        sys.exit("compare: %s" % err)
    finally:
        for w in workers.values():
            w.close()

    run = report.Run(
        mode="quick" if a.quick else "full", rounds=a.rounds, threads=threads,
        source=", ".join(scans) or "synthetic head phantom (no scan installed)",
        started=started, seconds=time.time() - started, load=(load_before, os.getloadavg()),
        tunables=os.environ[MEMORY_SETTINGS], transparent_huge_pages=transparent_huge_pages(), huge_page_kib=huge_pages, skipped=skipped, errors=errors)
    rows = report.rows(cases, summarise(times))
    print(report.text(run, rows))
    report.write_csv(os.path.join(a.out, "comparison.csv"), rows)
    chart = os.path.join(a.out, "ratios.png")
    try:
        report.chart(rows, chart, lambda expression: octave(expression, [HERE]))
    except (subprocess.CalledProcessError, OSError) as err:
        print("compare: no chart (%s); is gnuplot installed?" % err, file=sys.stderr)
        chart = None
    report.write_html(os.path.join(a.out, "index.html"), run, rows, chart)
    print("\nTable: %s\nPage:  %s" % (os.path.join(a.out, "comparison.csv"), os.path.join(a.out, "index.html")))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
