"""nrx: exact, fast kernels for brain-image analysis, for NumPy arrays.

Each function is the nrx_<name> plug-in of the Octave toolbox under its name
without the prefix, with the same arguments in the same order and the same
meaning, and results bit for bit those of the plug-in:

  geometry       warp_jacobian(y1, y2, y3, m), warp_affine(y1, y2, y3, m)
  registration   joint_histogram(v1, v2, m, skips=None),
                 mip_render(values, locations, dims, dxyz=None, cxyz=None)
  phase maps     region_graph(rima, pm), ramp_fit(pm, mask),
                 ramp_add(pm, mask, ramps), phase_fill(pm, wmap, kernel),
                 weighted_blur(pm, wmap, kernel)
  segmentation   label_relax(p, f, g, w=None, *, inplace=False),
                 geo_parcels(img, seeds, dist="d34"), local_peaks(vol, l),
                 morphology(ima, kernel, function)
  statistics     nan_reduce(x, dim=None), gamma_sampler(a, b, *sizes),
                 reset_gamma_sampler(), GammaSampler
  acquisition    acq_read(p=None, n=None), acq_write(p, w1, w2, w3, w4, w5, d)

Volumes go in with their axes in the order x, y, z, as nibabel gives them
(nibabel.load(f).get_fdata() goes straight in); coordinates and dimension
numbers are one-based, as in the plug-ins. Calls release the GIL while the
kernel runs, so threads run them side by side. help(nrx.<name>) gives the
plug-in's help and what differs in Python.
"""

from .acquisition import acq_read, acq_write
from .geometry import warp_affine, warp_jacobian
from .phasemap import phase_fill, ramp_add, ramp_fit, region_graph, weighted_blur
from .registration import joint_histogram, mip_render
from .segmentation import geo_parcels, label_relax, local_peaks, morphology
from .statistics import GammaSampler, gamma_sampler, nan_reduce, reset_gamma_sampler

__all__ = [
    "warp_jacobian",
    "warp_affine",
    "joint_histogram",
    "mip_render",
    "region_graph",
    "ramp_fit",
    "ramp_add",
    "phase_fill",
    "weighted_blur",
    "label_relax",
    "geo_parcels",
    "local_peaks",
    "morphology",
    "nan_reduce",
    "gamma_sampler",
    "reset_gamma_sampler",
    "GammaSampler",
    "acq_read",
    "acq_write",
]
