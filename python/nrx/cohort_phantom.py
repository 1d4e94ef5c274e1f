"""A synthetic T1-like head in the 1 mm template's space, at any voxel size:
the reference and base scan of a cohort where no real scan is installed, and
the small, fast one the tests use."""

import numpy as np

# World extent of the template grid (mm): x, y and z from, to.
EXTENT = ((-90, 90), (-126, 90), (-72, 108))


def head_phantom(voxel_mm=1.0, seed=7):
    """Returns (t1, brain, affine): uint8 head and brain-only scans from
    nested ellipsoids (scalp, skull, CSF, grey and white matter with a folded
    cortex, two ventricles) with a little noise, and their voxel-to-world
    matrix for zero-based voxel indices."""
    axes = [np.arange(lo, hi + voxel_mm / 2, voxel_mm) for lo, hi in EXTENT]
    x, y, z = np.meshgrid(*axes, indexing="ij", sparse=True)

    def radius(ax, ay, az, cx, cy, cz):
        return np.sqrt(((x - cx) / ax) ** 2 + ((y - cy) / ay) ** 2 + ((z - cz) / az) ** 2)

    head = radius(78, 100, 85, 0, -15, 15)
    # Grey matter folds: the cortex boundary ripples with the angles.
    folds = 0.04 * np.sin(9 * np.arctan2(y + 15, x)) * np.cos(7 * np.arctan2(z - 15, np.hypot(x, y + 15)))
    cortex = radius(68, 88, 74, 0, -15, 15) + folds
    t1 = np.zeros(head.shape)
    for inside, value in [(head < 1, 170), (head < 0.93, 40), (cortex < 0.97, 30), (cortex < 0.94, 100),
                          (cortex < 0.80, 150)]:
        t1[inside] = value
    t1[(radius(6, 22, 9, -9, 0, 20) < 1) | (radius(6, 22, 9, 9, 0, 20) < 1)] = 30
    t1 += 6 * (np.random.default_rng(seed).random(t1.shape) - 0.5)
    t1 = np.rint(t1).astype(np.uint8)
    brain = np.where(cortex < 0.97, t1, 0).astype(np.uint8)
    affine = np.diag([voxel_mm, voxel_mm, voxel_mm, 1.0])
    affine[:3, 3] = [lo for lo, _ in EXTENT]
    return t1, brain, affine
