"""Alignment of a scan to the reference: the rotation about the vertical axis,
then the scaling, that maximise the mutual information of their joint
histogram, and the scan resampled onto the reference's grid under them."""

import numpy as np
from scipy import ndimage

import nrx

# Trial rotations (degrees) and scalings: scans in template space are turned
# by a few degrees at most, and heads differ in size by a few per cent.
ANGLES = np.arange(-10.0, 10.5, 1.0)
SCALES = np.round(np.arange(0.90, 1.105, 0.01), 2)
# Spacing of the joint histogram's sample grid (mm).
SAMPLE_MM = 2.0
# Moves zero-based voxel coordinates to one-based ones.
ONE_BASED = np.array([[1.0, 0, 0, 1], [0, 1, 0, 1], [0, 0, 1, 1], [0, 0, 0, 1]])


def to_uint8(volume):
    """The volume scaled so that its 99.9th percentile is 255, rounded and
    clipped to uint8, Fortran-ordered as the histogram kernel reads it."""
    top = np.percentile(volume[::3, ::3, ::3], 99.9)
    scaled = np.clip(np.rint(volume * (255.0 / top if top > 0 else 1.0)), 0, 255)
    return np.asfortranarray(scaled, dtype=np.uint8)


def turn_about_centre(affine, shape, degrees, scale):
    """4x4 world map that turns by degrees about the vertical axis through the
    centre of the grid of that shape and affine, and scales by scale about it."""
    t = np.radians(degrees)
    turn = np.eye(4)
    turn[:2, :2] = [[np.cos(t), -np.sin(t)], [np.sin(t), np.cos(t)]]
    turn[:3, :3] *= scale
    centre = affine @ np.append((np.array(shape) - 1) / 2, 1)
    turn[:3, 3] = centre[:3] - turn[:3, :3] @ centre[:3]
    return turn


def voxel_map(reference, scan_affine, degrees, scale):
    """4x4 map from zero-based voxels of the reference to zero-based voxels
    of the scan, the scan turned by degrees and scale times larger about the
    centre of the reference grid."""
    turn = turn_about_centre(reference.affine, reference.t1.shape, degrees, scale)
    return np.linalg.inv(scan_affine) @ turn @ reference.affine


def mutual_information(h):
    p = h / h.sum()
    marginal = np.outer(p.sum(axis=1), p.sum(axis=0))
    nz = p > 0
    return float(np.sum(p[nz] * np.log(p[nz] / marginal[nz])))


def best_alignment(reference, scan8, scan_affine):
    """(angle, scale, mi, mi unmoved): the trial angle, then the trial scale
    at that angle, whose joint histogram of reference against scan has the
    largest mutual information (nats), that information, and the one of the
    scan as it is."""
    skips = np.maximum(SAMPLE_MM / reference.spacing, 1.0)

    def information(angle, scale):
        m = ONE_BASED @ voxel_map(reference, scan_affine, angle, scale) @ np.linalg.inv(ONE_BASED)
        return mutual_information(nrx.joint_histogram(reference.t1, scan8, m, skips))

    turned = [information(a, 1.0) for a in ANGLES]
    best = int(np.argmax(turned))
    angle = float(ANGLES[best])
    scaled = [turned[best] if s == 1.0 else information(angle, s) for s in SCALES]   # scale 1 is known
    return angle, float(SCALES[np.argmax(scaled)]), max(scaled), turned[int(np.flatnonzero(ANGLES == 0)[0])]


def resample(reference, scan, scan_affine, degrees, scale):
    """float32 image on the reference's box: the scan interpolated
    trilinearly under the rotation and scaling, 0 outside the scan."""
    m = voxel_map(reference, scan_affine, degrees, scale)
    start = np.array([lo for lo, _ in reference.box], dtype=float)
    shape = tuple(hi - lo for lo, hi in reference.box)
    return ndimage.affine_transform(scan, m[:3, :3], offset=m[:3, :3] @ start + m[:3, 3], output_shape=shape,
                                    order=1, mode="constant", cval=0.0)
