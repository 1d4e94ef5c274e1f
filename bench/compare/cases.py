"""The cases of the comparison: one plug-in call each, its inputs and its peer.

The plug-in calls are in compare_nrx.m, the peers in peers.py (or, for a
host function, compare_octave_peer.m), all under the case's name; the inputs
are the files compare_inputs.m writes.
"""

from dataclasses import dataclass


@dataclass(frozen=True)
class Case:
    name: str
    plugin: str
    job: str               # what the call does, for the report
    inputs: tuple          # input names, loaded by every contender
    peer: str              # what the peer is, for the report
    peer_in_octave: bool = False
    repeat: int = 1        # calls per timing, for calls of microseconds
    floor: bool = True     # time a plain copy of the inputs
    without_memory_settings: bool = False    # also time the plug-in with glibc's defaults
    acquisition: bool = False           # needs a private IPC namespace


SEGMENT_PEER = "ctypes shmget/shmat + numpy copy + shmdt"

CASES = [
    Case("warp_jacobian", "nrx_warp_jacobian", "determinants of a smooth warp",
         ("field_x", "field_y", "field_z", "M"),
         "numpy gradient + 3x3 determinant (central differences, a cheaper method)"),
    Case("warp_affine", "nrx_warp_affine", "rigid transform of a warp, in place",
         ("moved_x", "moved_y", "moved_z", "rigid"), "numpy, in place, single precision"),
    Case("joint_histogram", "nrx_joint_histogram", "scan against brain under a 10 degree turn, steps 1.5",
         ("T1", "brain", "hist_map", "hist_steps"), "scipy.ndimage.map_coordinates (linear) + numpy.bincount"),
    Case("mip_render", "nrx_mip_render", "glass brain of the brightest tenth, 400 x 364",
         ("mip_values", "mip_xyz", "mip_dims"), "numpy.maximum.at into three views"),
    Case("region_graph", "nrx_region_graph", "bordering voxel pairs of the parcels",
         ("parcels", "phase"), "numpy shifted compares along the three axes"),
    Case("ramp_fit", "nrx_ramp_fit", "fit and remove the ramp of a wrapped field map",
         ("wrapped", "mask"), "numpy diff, wrap, masked mean, removal"),
    Case("ramp_add", "nrx_ramp_add", "add the ramp back",
         ("phase", "mask", "phase_ramp"), "numpy broadcast ramp + where", without_memory_settings=True),
    Case("phase_fill", "nrx_phase_fill", "fill 5% holes, 3x3x3 box",
         ("holey", "weights", "box"), "two scipy.ndimage.uniform_filter 3x3x3"),
    Case("weighted_blur", "nrx_weighted_blur", "weighted mean, 3x3x3 box",
         ("phase", "weights", "box"), "two scipy.ndimage.uniform_filter 3x3x3", without_memory_settings=True),
    Case("label_relax", "nrx_label_relax", "one sweep, K = 6 classes, with output",
         ("P", "F", "G"), "numpy red-black sweep, K = 6"),
    Case("geo_parcels", "nrx_geo_parcels", "300 seeds (20 quick), d34",
         ("mask", "parcel_seeds"), "skimage.segmentation.watershed of a flat image (labels only, 26-connected)"),
    Case("local_peaks", "nrx_local_peaks", "every brain voxel of the smoothed scan",
         ("smooth", "peak_list"), "scipy.ndimage.maximum_filter 18-connected + compare"),
    Case("morphology", "nrx_morphology", "dilate the scan, 3x3x3 box",
         ("scan", "box"), "scipy.ndimage.grey_dilation 3x3x3", without_memory_settings=True),
    *(Case("nan_reduce_%d" % d, "nrx_nan_reduce", "count non-NaN along dimension %d" % d,
           ("masked",), "numpy.count_nonzero(~numpy.isnan(x), axis=%d)" % (d - 1)) for d in (1, 2, 3)),
    *(Case("gamma_shape%s" % a, "nrx_gamma_sampler", "10^7 (10^5 quick) samples, shape %s" % a,
           ("gamma_count",), "Octave randg", peer_in_octave=True, floor=False) for a in ("2", "0.5")),
    Case("acq_read_headers", "nrx_acq_read", "all 600 packet headers",
         (), SEGMENT_PEER, repeat=100, acquisition=True),
    Case("acq_read_packet", "nrx_acq_read", "one packet's 28160 samples",
         (), SEGMENT_PEER, repeat=100, acquisition=True),
    Case("acq_write", "nrx_acq_write", "write one full packet",
         ("samples",), SEGMENT_PEER, repeat=100, acquisition=True),
    Case("pack_value", "nrx_pack_value", "the masked scan as double",
         ("masked",), "scipy.io.savemat to memory, uncompressed"),
    Case("unpack_value", "nrx_unpack_value", "the packed masked scan",
         ("packed",), "scipy.io.loadmat from memory"),
    Case("nifti_read", "nrx_nifti_read", "ch2.nii.gz (quick: a small copy)",
         (), "nibabel.load + dataobj + affine"),
]
