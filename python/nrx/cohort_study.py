"""The study of one scan: read it, align it to the reference, classify its
tissue, and measure the shape and intensity of its brain. Runs on a worker;
needs nothing but the scan's path and the reference."""

import time
from pathlib import Path

import numpy as np
from nibabel.affines import voxel_sizes

from .cohort_align import best_alignment, resample, to_uint8
from .cohort_picture import scan_picture
from .cohort_scans import read_scan
from .cohort_shape import parcels, peak_count
from .cohort_tissue import CLASSES, classify, tissue_mask
from .cohort_uniformity import white_matter_figures

# The figures of a scan, in table order, with what each means.
FIGURES = {
    "shape": "voxel grid of the scan as stored",
    "voxel_mm": "voxel size of the scan as stored (mm)",
    "angle_deg": "rotation about the vertical axis that best aligns the scan to the reference (degrees)",
    "scale": "scaling that then best aligns it (the head's linear size relative to the reference)",
    "mi": "mutual information with the reference so aligned (nats)",
    "mi_gain": "mutual information gained by the alignment (nats)",
    "csf_ml": "CSF near the brain after relaxation (ml, in the scan's own size)",
    "gm_ml": "grey matter (ml)",
    "wm_ml": "white matter (ml)",
    "relabelled_pct": "voxels whose class the relaxation changed (% of the classified)",
    "wm_gm_ratio": "mean white matter over mean grey matter intensity",
    "tissue_ml": "grey and white matter after opening (ml)",
    "boundary_pct": "tissue voxels that erosion removes (%)",
    "parcels": "seeds that grew a geodesic parcel in the tissue",
    "farthest_mm": "largest geodesic distance from a seed (mm)",
    "parcel_cv": "coefficient of variation of the parcel volumes",
    "peaks": "local maxima of the smoothed scan in the tissue",
    "wm_cv": "coefficient of variation of white matter intensity",
    "bias_x_pct": "drift of white matter mean intensity across slices along x (5th to 95th percentile, % of median)",
    "bias_y_pct": "the same along y",
    "bias_z_pct": "the same along z",
    "seconds": "time the study of the scan took on its worker (s)",
    "cpu_seconds": "processor time it took there (s)",
}


def study_scan(reference, path, title):
    """(figures, picture): the FIGURES of the scan at path, and its picture
    as PNG bytes."""
    start, cpu_start = time.perf_counter(), time.process_time()
    scan, affine = read_scan(path)
    figures = {"shape": "x".join(map(str, scan.shape)),
               "voxel_mm": "x".join(f"{s:g}" for s in voxel_sizes(affine).round(3))}

    angle, scale, mi, unmoved = best_alignment(reference, to_uint8(scan), affine)
    figures.update(angle_deg=angle, scale=scale, mi=mi, mi_gain=mi - unmoved)
    image = resample(reference, scan, affine, angle, scale)
    del scan
    voxel_ml = reference.voxel_ml * scale ** 3   # a reference voxel's worth of the scan

    classes = classify(image, reference.search)
    classified = np.count_nonzero(classes.labels)
    for number, name in enumerate(CLASSES, 1):
        figures[f"{name}_ml"] = np.count_nonzero(classes.labels == number) * voxel_ml
    figures["relabelled_pct"] = 100 * np.count_nonzero(classes.labels != classes.before) / max(classified, 1)
    figures["wm_gm_ratio"] = image[classes.labels == 3].mean() / image[classes.labels == 2].mean()

    tissue, eroded = tissue_mask(classes.labels)
    if not tissue.any():
        raise ValueError("no grey or white matter found")
    figures["tissue_ml"] = np.count_nonzero(tissue) * voxel_ml
    figures["boundary_pct"] = 100 * (1 - np.count_nonzero(eroded) / np.count_nonzero(tissue))
    parcel_figures, parcel_labels = parcels(tissue, reference.seeds, reference.spacing * scale)
    figures.update(parcel_figures)
    figures["peaks"] = peak_count(image, tissue)
    figures.update(white_matter_figures(image, tissue & (classes.labels == 3)))

    picture = scan_picture(title, image, classes.labels, parcel_labels, tissue, reference)
    figures["seconds"] = time.perf_counter() - start
    figures["cpu_seconds"] = time.process_time() - cpu_start
    return {name: figures[name] for name in FIGURES}, picture


def scan_name(path):
    """The scan's file name without .nii or .nii.gz."""
    name = Path(path).name
    for suffix in (".gz", ".nii"):
        name = name.removesuffix(suffix)
    return name
