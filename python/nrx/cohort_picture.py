"""The per-scan picture: an axial slice of the aligned scan, its tissue
classes and parcels, and a glass-brain projection of its brightest tissue."""

import io

import numpy as np
from matplotlib.colors import ListedColormap
from matplotlib.figure import Figure

import nrx

CLASS_COLOURS = ListedColormap([[0, 0, 0], [0.2, 0.4, 0.9], [0.6, 0.6, 0.6], [1, 1, 0.85]])


def glass_brain(image, tissue, reference):
    """(image, darkest value drawn): maximum-intensity projections (three
    views, 1 mm pixels) of the brightest tenth of the tissue voxels, placed
    by their world coordinates."""
    where = np.argwhere(tissue)
    values = image[tissue]
    threshold = np.percentile(values, 90)
    bright = values >= threshold
    start = np.array([lo for lo, _ in reference.box])
    world = (reference.affine @ np.vstack([(where[bright] + start).T, np.ones(bright.sum())]))[:3]
    corners = np.array(np.meshgrid(*[[0, n - 1] for n in reference.t1.shape], [1], indexing="ij")).reshape(4, -1)
    ends = reference.affine[:3] @ corners
    extent = np.rint(ends.max(axis=1) - ends.min(axis=1)) + 1
    zero = np.rint(-ends.min(axis=1)) + 1
    dims = np.concatenate([reference.spacing, [extent[1] + extent[0], extent[2] + extent[0]]])
    return nrx.mip_render(values[bright].astype(float), world, dims, extent, zero), threshold


def scan_picture(title, image, classes, parcels, tissue, reference):
    """PNG bytes of the four panels."""
    k = image.shape[2] // 2

    def axial(volume):   # anterior up
        return np.rot90(volume[:, :, k])

    colours = np.random.default_rng(3).uniform(0.35, 1, (parcels.max() + 1, 3))
    colours[0] = 0
    mip, threshold = glass_brain(image, tissue, reference)
    figure = Figure(figsize=(12, 3.4))
    panels = [("aligned scan", axial(image), "gray", None),
              ("tissue classes", axial(classes), CLASS_COLOURS, (0, 3)),
              ("geodesic parcels", axial(parcels), ListedColormap(colours), (0, len(colours) - 1)),
              ("glass brain", mip, "hot", (0.9 * threshold, mip.max()))]
    for i, (name, picture, colour_map, limits) in enumerate(panels):
        axes = figure.add_subplot(1, 4, i + 1)
        axes.imshow(picture, cmap=colour_map, interpolation="nearest",
                    **({"vmin": limits[0], "vmax": limits[1]} if limits else {}))
        axes.set_title(name, fontsize=10)
        axes.set_axis_off()
    figure.suptitle(title, fontsize=11)
    buffer = io.BytesIO()
    figure.savefig(buffer, format="png", dpi=80, bbox_inches="tight")
    return buffer.getvalue()
