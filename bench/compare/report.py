"""The comparison's table as text, CSV, a chart of the ratios and an HTML page."""

import csv
import html
import os
import platform
import time
from dataclasses import dataclass

# Contenders in table order: CSV column prefix and heading.
COLUMNS = [("nrx_1", "nrx, 1 thread"), ("nrx_all", "nrx, all threads"), ("peer", "peer"),
           ("floor", "copy of inputs"), ("nrx_1_plain", "nrx, 1 thread, glibc defaults")]


@dataclass
class Run:
    mode: str
    rounds: int
    threads: int
    source: str
    started: float
    seconds: float
    load: tuple            # load averages before and after
    tunables: str          # glibc's memory settings of the workers
    transparent_huge_pages: str         # the kernel's mode, e.g. "madvise"
    huge_page_kib: dict    # worker label: AnonHugePages at the end
    skipped: list
    errors: dict


def rows(cases, summary):
    """One dict per case: names, min and median ms of every contender, ratios."""
    out = []
    for case in cases:
        s = summary.get(case.name, {})
        row = {"case": case.name, "plugin": case.plugin, "job": case.job, "peer": case.peer}
        for column, _ in COLUMNS:
            low, mid = s.get(column, (None, None))
            row[column + "_min_ms"] = None if low is None else 1e3 * low
            row[column + "_median_ms"] = None if mid is None else 1e3 * mid
        for side in ("nrx_1", "nrx_all"):
            peer, nrx = row["peer_min_ms"], row[side + "_min_ms"]
            row["peer_over_" + side] = peer / nrx if peer and nrx else None
        out.append(row)
    return out


def ms(value):
    return "-" if value is None else "%.4g" % value


def ratio(value):
    return "-" if value is None else "%.2f" % value


def pair(row, column):
    return "%s / %s" % (ms(row[column + "_min_ms"]), ms(row[column + "_median_ms"]))


def held(run):
    return ", ".join("%s %s" % (k, "?" if v is None else "%d MiB" % (v // 1024))
                     for k, v in run.huge_page_kib.items())


def text(run, table):
    lines = ["nrx against its peers: %s run, %d round(s), min / median in ms per call" % (run.mode, run.rounds),
             "inputs: %s" % run.source,
             "%d cores; load average %.2f before, %.2f after" % (run.threads, run.load[0][0], run.load[1][0]),
             ""]
    head = ("case", "nrx 1 thread", "nrx %d threads" % run.threads, "peer", "peer/nrx 1t",
            "peer/nrx %dt" % run.threads, "copy floor", "peer")
    form = "%-17s %-19s %-19s %-19s %11s %11s %10s  %s"
    lines.append(form % head)
    for r in table:
        lines.append(form % (r["case"], pair(r, "nrx_1"), pair(r, "nrx_all"), pair(r, "peer"),
                             ratio(r["peer_over_nrx_1"]), ratio(r["peer_over_nrx_all"]),
                             ms(r["floor_min_ms"]), r["peer"]))
    plain = [r for r in table if r["nrx_1_plain_min_ms"] is not None]
    if plain:
        lines += ["", "glibc memory settings (GLIBC_TUNABLES=%s), nrx at 1 thread, min / median ms:" % run.tunables]
        for r in plain:
            saved = 1 - r["nrx_1_min_ms"] / r["nrx_1_plain_min_ms"] if r["nrx_1_min_ms"] else None
            lines.append("  %-15s with %-19s without %-19s saves %s" % (
                r["case"], pair(r, "nrx_1"), pair(r, "nrx_1_plain"),
                "-" if saved is None else "%.0f%%" % (100 * saved)))
    lines += ["", "transparent huge pages: %s; held at the end (AnonHugePages): %s"
              % (run.transparent_huge_pages, held(run))]
    if run.skipped:
        lines.append("skipped (no private IPC namespace for the acquisition segment): " + ", ".join(run.skipped))
    for case, message in run.errors.items():
        lines.append("FAILED %s: %s" % (case, message))
    return "\n".join(lines)


def write_csv(path, table):
    with open(path, "w", newline="") as f:
        w = csv.DictWriter(f, fieldnames=list(table[0]) if table else ["case"])
        w.writeheader()
        for r in table:
            w.writerow({k: "" if v is None else ("%.6g" % v if isinstance(v, float) else v) for k, v in r.items()})


def chart(table, path, octave):
    """Bars of peer/nrx (log scale) drawn by the host with gnuplot, no window."""
    if os.path.exists(path):
        os.remove(path)
    number = lambda v: "NaN" if v is None else repr(v)
    octave("compare_chart('%s', {%s}, [%s], [%s])" % (
        path, ", ".join("'%s'" % r["case"] for r in table),
        " ".join(number(r["peer_over_nrx_1"]) for r in table),
        " ".join(number(r["peer_over_nrx_all"]) for r in table)))


def write_html(path, run, table, chart_file):
    e = html.escape
    out = ["<!DOCTYPE html>", '<html><head><meta charset="utf-8"><title>nrx against its peers</title>',
           "<style>body{font-family:sans-serif;max-width:75em;margin:2em auto}"
           "td,th{padding:.2em .6em;text-align:right}td:first-child,td:nth-child(2),th{text-align:left}"
           "tr:nth-child(even){background:#f3f3f3}</style></head><body>",
           "<h1>nrx against its peers</h1>",
           "<p>%s run on %s: %d timed round(s)%s; %s, %d cores, load average %.2f before and %.2f after; "
           "took %.0f s.</p>" % (e(run.mode), e(time.strftime("%Y-%m-%d %H:%M", time.localtime(run.started))),
                                 run.rounds, "" if run.mode == "quick" else " after a warm-up round",
                                 e(platform.node()), run.threads, run.load[0][0], run.load[1][0], run.seconds),
           "<p>Inputs: %s. Times are per call in milliseconds (min / median over the rounds), each measured "
           "inside its own process: nrx through the host with <code>tic</code>/<code>toc</code> around the "
           "call, outputs included; the peers at one thread. A ratio above 1 means nrx is faster.</p>"
           % e(run.source)]
    if chart_file:
        out.append('<p><img src="%s" alt="peer time over nrx time"></p>' % e(os.path.basename(chart_file)))
    out.append("<table><tr><th>case</th><th>what</th>%s<th>peer/nrx 1 thread</th>"
               "<th>peer/nrx %d threads</th><th>peer</th></tr>"
               % ("".join("<th>%s</th>" % e(h) for _, h in COLUMNS), run.threads))
    for r in table:
        out.append("<tr><td><code>%s</code></td><td>%s</td>%s<td>%s</td><td>%s</td><td>%s</td></tr>" % (
            e(r["plugin"]), e(r["job"]), "".join("<td>%s</td>" % e(pair(r, c)) for c, _ in COLUMNS),
            ratio(r["peer_over_nrx_1"]), ratio(r["peer_over_nrx_all"]), e(r["peer"])))
    out.append("</table>")
    out.append("<p>Both sides run with <code>GLIBC_TUNABLES=%s</code> (transparent huge pages: %s); the "
               "column with glibc's defaults repeats some plug-in calls without them. Huge pages held at the "
               "end: %s.</p>" % (e(run.tunables), e(run.transparent_huge_pages), e(held(run))))
    if run.skipped:
        out.append("<p>Skipped (no private IPC namespace for the acquisition segment): %s.</p>"
                   % e(", ".join(run.skipped)))
    if run.errors:
        out.append("<h2>Failures</h2><ul>%s</ul>" % "".join(
            "<li>%s: %s</li>" % (e(c), e(m)) for c, m in run.errors.items()))
    out.append("</body></html>")
    with open(path, "w") as f:
        f.write("\n".join(out) + "\n")
