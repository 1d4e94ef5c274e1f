"""Shape of the brain's tissue: geodesic parcels grown from the reference's
seeds, and the local maxima of the smoothed scan."""

import numpy as np
from scipy import ndimage

import nrx

SMOOTHING = 5   # box filter width (voxels) before the local maxima


def parcels(tissue, seeds, spacing):
    """Figures of the geodesic Voronoi parcels of the tissue mask from the
    seeds (chamfer 3-4-5 distances), and the labels (0 outside or unreached)."""
    labels, distances = nrx.geo_parcels(tissue.astype(float), seeds, "d34")
    reached = np.isfinite(distances) & (distances >= 0)
    sizes = np.bincount(labels[reached].astype(int), minlength=len(seeds) + 1)[1:]
    grown = sizes[sizes > 0]
    figures = {
        "parcels": len(grown),
        "farthest_mm": float(distances[reached].max() / 3 * spacing.mean()) if grown.size else np.nan,
        "parcel_cv": float(grown.std() / grown.mean()) if grown.size else np.nan,
    }
    return figures, np.where(reached, labels, 0).astype(np.int32)


def peak_count(image, tissue):
    """Number of tissue voxels that are local maxima (18 neighbours) of the
    box-filtered image."""
    smooth = ndimage.uniform_filter(image.astype(float), SMOOTHING, mode="constant")
    where = np.argwhere(tissue).T + 1.0
    return nrx.local_peaks(smooth, where).size
