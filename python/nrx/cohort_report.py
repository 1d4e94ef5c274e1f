"""What a cohort run leaves behind: cohort.csv, one row per scan, and
index.html with a plot of the figures across scans and the table."""

import csv
import html
import io

import numpy as np
from matplotlib.figure import Figure

from .cohort_study import FIGURES

COLUMNS = ["scan", "status", "error", *FIGURES, "picture"]
# The plot's panels: title and the figures drawn in it.
PANELS = [("tissue volume (ml)", ["gm_ml", "wm_ml", "csf_ml"]),
          ("alignment angle (degrees)", ["angle_deg"]),
          ("head scale", ["scale"]),
          ("white matter drift (%)", ["bias_x_pct", "bias_y_pct", "bias_z_pct"]),
          ("white matter CV", ["wm_cv"]),
          ("local maxima", ["peaks"])]
# Scans beyond this many are plotted without their names.
NAMED = 30


def text(value):
    return f"{value:.6g}" if isinstance(value, (float, np.floating)) else str(value)


def write_table(rows, path):
    with open(path, "w", newline="") as file:
        writer = csv.DictWriter(file, COLUMNS)
        writer.writeheader()
        for row in rows:
            writer.writerow({name: text(value) for name, value in row.items()})


def cohort_plot(rows, names):
    """PNG bytes: each panel's figures against scan, one point per scan."""
    figure = Figure(figsize=(13, 7.5), layout="constrained")
    x = np.arange(1, len(rows) + 1)
    for i, (title, figures) in enumerate(PANELS):
        axes = figure.add_subplot(2, 3, i + 1)
        for name in figures:
            values = [row[name] if row["status"] == "ok" else np.nan for row in rows]
            axes.plot(x, values, "o", label=name)
        if len(figures) > 1:
            axes.legend(fontsize=8)
        axes.set_title(title, fontsize=10)
        axes.grid(alpha=0.3)
        if len(rows) <= NAMED:
            axes.set_xticks(x, names, rotation=60, ha="right", fontsize=8)
        else:
            axes.set_xlabel("scan")
    buffer = io.BytesIO()
    figure.savefig(buffer, format="png", dpi=80)
    return buffer.getvalue()


def write_page(rows, summary, plot, path):
    """index.html: the summary lines, the plot (file name plot), the table,
    each scan's picture linked from its row, and what each figure means."""
    header = "".join(f'<th title="{html.escape(FIGURES.get(name, ""))}">{name}</th>' for name in COLUMNS)
    lines = []
    for row in rows:
        cells = []
        for name in COLUMNS:
            value = html.escape(text(row[name]))
            if name == "picture" and value:
                value = f'<a href="{value}"><img src="{value}" height="60" loading="lazy"></a>'
            cells.append(f"<td>{value}</td>")
        lines.append(f'<tr class="{row["status"]}">{"".join(cells)}</tr>')
    paragraphs = "".join(f"<p>{html.escape(line)}</p>\n" for line in summary)
    legend = "".join(f"<dt>{name}</dt><dd>{html.escape(meaning)}</dd>" for name, meaning in FIGURES.items())
    page = f"""<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>nrx cohort</title>
<style>body{{font-family:sans-serif;margin:2em}}td,th{{padding:.2em .5em;text-align:left;white-space:nowrap}}
tr.failed{{background:#fdd}}th{{cursor:help}}</style></head><body>
<h1>nrx cohort</h1>
{paragraphs}<img src="{plot}" alt="figures across scans">
<table><tr>{header}</tr>
{chr(10).join(lines)}
</table>
<h2>Figures</h2><dl>{legend}</dl></body></html>
"""
    with open(path, "w") as file:
        file.write(page)
