"""NaN-aware statistics of white matter intensity: its spread, and how its
mean drifts from slice to slice along each axis (intensity bias)."""

import numpy as np

import nrx

# Slices with fewer white matter voxels than this share of the fullest
# slice's are left out of the drift: their few voxels sit on the edge.
FULL_ENOUGH = 0.2


def white_matter_figures(image, white):
    values = np.where(white, image, np.nan).astype(float)
    across_x = nrx.nan_reduce(values, 1)   # 1 x ny x nz: voxels per (y, z) line along x
    across_y = nrx.nan_reduce(values, 2)   # nx x 1 x nz
    counts = {"x": across_y.sum(axis=(1, 2)), "y": across_x.sum(axis=(0, 2)), "z": across_x.sum(axis=(0, 1))}
    total = counts["z"].sum()
    if total == 0:
        raise ValueError("no white matter found")
    mean = np.nansum(values) / total
    figures = {"wm_cv": float(np.sqrt(np.nansum((values - mean) ** 2) / total) / mean)}
    for axis, name in enumerate("xyz"):
        others = tuple(a for a in range(3) if a != axis)
        n = counts[name]
        full = n >= FULL_ENOUGH * n.max()
        slice_means = np.nansum(values, axis=others)[full] / n[full]
        low, middle, high = np.percentile(slice_means, [5, 50, 95])
        figures[f"bias_{name}_pct"] = float(100 * (high - low) / middle)
    return figures
