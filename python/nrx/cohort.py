"""python -m nrx.cohort: the per-scan study on every scan of a cohort, in
parallel on a Dask cluster; writes cohort.csv, a picture per scan and
index.html into the output folder. Exits with 1 when a scan failed (its row
says why), 0 otherwise.

The study and its steps, the cluster, the report and the demo cohort live
beside this module in nrx.cohort_*, flat in the package like its other
modules."""

import argparse
import sys
import time
from pathlib import Path

from .cohort_demo import demo_cohort, real_reference
from .cohort_reference import load_reference
from .cohort_report import COLUMNS, cohort_plot, write_page, write_table
from .cohort_run import cluster_client, study_cohort
from .cohort_study import scan_name


def arguments(argv):
    parser = argparse.ArgumentParser(prog="python -m nrx.cohort", description=__doc__.split("\n\n")[0])
    parser.add_argument("--out", required=True, type=Path, help="folder for the results")
    where = parser.add_mutually_exclusive_group()
    where.add_argument("--scheduler",
                       help="address of a running Dask scheduler (default: a new cluster on this machine)")
    where.add_argument("--workers", type=int,
                       help="worker processes of the cluster on this machine (default: one per core)")
    parser.add_argument("--reference", nargs=2, type=Path, metavar=("T1", "BRAIN"),
                        help="reference T1 scan and its brain-only version (default: mricron-data's ch2 and ch2bet)")
    parser.add_argument("--demo", type=int, metavar="N",
                        help="add the demo cohort: mricron-data's T1 scans and N subjects simulated from ch2, "
                             "made into OUT/subjects")
    parser.add_argument("scans", nargs="*", type=Path, metavar="SCAN", help="NIfTI scans (.nii, .nii.gz)")
    args = parser.parse_args(argv)
    if not args.scans and args.demo is None:
        parser.error("give scans, or --demo N")
    if args.reference is None and args.demo is None and real_reference() is None:
        parser.error("no reference scan: install mricron-data, or give --reference T1 BRAIN")
    return args


def main(argv=None):
    args = arguments(argv)
    pictures = args.out / "scans"
    pictures.mkdir(parents=True, exist_ok=True)
    with cluster_client(args.scheduler, args.workers) as client:
        address, workers = client.scheduler.address, len(client.scheduler_info()["workers"])
        print(f"nrx cohort on the Dask cluster at {address} ({workers} workers)")
        scans, reference = list(args.scans), args.reference
        if args.demo is not None:
            demo_scans, demo_reference = demo_cohort(client, args.out / "subjects", args.demo)
            scans += demo_scans
            reference = reference or demo_reference
        reference = load_reference(*(reference or real_reference()))
        print(f"{len(scans)} scans against {reference.source}")

        start = time.perf_counter()
        rows = [None] * len(scans)
        for done, (i, outcome) in enumerate(study_cohort(client, reference, scans), 1):
            rows[i] = row_of(scans[i], i, outcome, pictures)
            print_progress(done, len(scans), rows[i])
        wall = time.perf_counter() - start

    ok = [row for row in rows if row["status"] == "ok"]
    summary = [f"{len(scans)} scans, {len(scans) - len(ok)} failed, in {wall:.1f} s on {workers} workers "
               f"({address}).", f"Reference: {reference.source}."]
    if ok:
        summary.append("Per scan on a worker: {:.1f} s, of which {:.1f} s of processor time (mean).".format(
            sum(r["seconds"] for r in ok) / len(ok), sum(r["cpu_seconds"] for r in ok) / len(ok)))
    write_table(rows, args.out / "cohort.csv")
    (args.out / "cohort.png").write_bytes(cohort_plot(rows, [scan_name(s) for s in scans]))
    write_page(rows, summary, "cohort.png", args.out / "index.html")
    print("\n".join(summary))
    print(f"Table: {args.out / 'cohort.csv'}; report: {args.out / 'index.html'}")
    return 0 if len(ok) == len(scans) else 1


def print_progress(done, total, row):
    seconds = f"{row['seconds']:6.1f} s" if row["status"] == "ok" else " " * 8
    error = f": {row['error']}" if row["error"] else ""
    print(f"[{done:{len(str(total))}}/{total}] {row['status']:6} {seconds}  {row['scan']}{error}", flush=True)


def row_of(scan, i, outcome, pictures):
    """The scan's table row; its picture written into pictures."""
    row = dict.fromkeys(COLUMNS, "")
    row["scan"] = str(scan)
    if isinstance(outcome, Exception):
        row.update(status="failed", error=f"{type(outcome).__name__}: {outcome}")
        return row
    figures, picture = outcome
    name = f"{i + 1:03d}-{scan_name(scan)}.png"
    (pictures / name).write_bytes(picture)
    row.update(figures, status="ok", picture=f"{pictures.name}/{name}")
    return row


if __name__ == "__main__":
    sys.exit(main())
