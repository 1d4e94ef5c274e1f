"""Scans on disk: NIfTI files read and written with nibabel."""

import nibabel
import numpy as np


def read_scan(path):
    """(volume, affine): the scan's voxels as a float32 x, y, z array (NaN
    read as 0) and its voxel-to-world matrix for zero-based indices. Refuses
    anything but one 3-D volume."""
    image = nibabel.load(str(path))
    shape = image.shape
    if len(shape) < 3 or any(n != 1 for n in shape[3:]) or min(shape[:3]) < 2:
        raise ValueError(f"not a 3-D scan: shape {shape}")
    volume = image.get_fdata(dtype=np.float32).reshape(shape[:3])
    return np.nan_to_num(volume, nan=0.0, posinf=0.0, neginf=0.0), image.affine


def write_scan(path, volume, affine):
    image = nibabel.Nifti1Image(volume, affine)
    image.header.set_xyzt_units("mm")
    nibabel.save(image, str(path))
