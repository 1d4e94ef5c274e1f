"""The Python peers of the comparison, and the worker process that times them.

Each peer does a case's job with numpy, scipy.ndimage, scikit-image,
nibabel or scipy.io, the way a user of those libraries would write it. A
peer is made by a function of the case's inputs (a dict of arrays) that does
any one-off set-up and returns the call to time; the call returns its
results so that they are made in full.

Run as a program it is the worker: the same line protocol as
compare_worker.m ("run CASE SIDE REPEAT NAMES", answered by "@@time S" or
"@@error MESSAGE"), where SIDE is "peer", or "floor" for a plain copy of the
inputs. The driver starts it with one thread for every library.
"""

import ctypes
import io
import os
import sys
import time

import nibabel
import numpy as np
import scipy.io
import scipy.ndimage as ndi
import skimage.segmentation

from common import load, private_ipc_namespace

PEERS = {}


def peer(name):
    def register(make):
        PEERS[name] = make
        return make
    return register


@peer("warp_jacobian")
def warp_jacobian(i):
    # Central differences of each coordinate along each axis, then the 3x3
    # determinant per voxel over the voxel volume of the grid.
    voxel = float(np.linalg.det(i["M"][:3, :3]))

    def call():
        (a, b, c), (d, e, f), (g, h, k) = (np.gradient(i[n]) for n in ("field_x", "field_y", "field_z"))
        return (a * (e * k - f * h) - b * (d * k - f * g) + c * (d * h - e * g)) / np.float32(voxel)
    return call


@peer("warp_affine")
def warp_affine(i):
    x, y, z = i["moved_x"], i["moved_y"], i["moved_z"]
    A = [[np.float32(v) for v in row] for row in i["rigid"]]

    def call():
        nx = A[0][0] * x + A[0][1] * y + A[0][2] * z + A[0][3]
        ny = A[1][0] * x + A[1][1] * y + A[1][2] * z + A[1][3]
        z[...] = A[2][0] * x + A[2][1] * y + A[2][2] * z + A[2][3]
        x[...] = nx
        y[...] = ny
    return call


@peer("joint_histogram")
def joint_histogram(i):
    V1, V2, M, steps = i["T1"], i["brain"], i["hist_map"], i["hist_steps"].reshape(-1)
    n1, n2 = np.array(V1.shape), np.array(V2.shape)

    def call():
        # Zero-based grid points of V1, and where M sends them in V2.
        axes = [np.arange(0, n - 2, s, dtype=np.float32) for n, s in zip(n1, steps)]
        p = np.stack([g.reshape(-1) for g in np.meshgrid(*axes, indexing="ij")])
        q = (M[:3, :3] @ (p + 1) + M[:3, 3:4] - 1).astype(np.float32)
        inside = np.all((q >= 0) & (q < (n2 - 1)[:, None]), axis=0)
        p, q = p[:, inside], q[:, inside]
        c = np.floor(ndi.map_coordinates(V1, p, order=1, output=np.float32) + 0.5).astype(np.intp)
        v2 = ndi.map_coordinates(V2, q, order=1, output=np.float32)
        r = np.floor(v2).astype(np.intp)
        f = v2 - r
        H = np.bincount(r * 256 + c, weights=1 - f, minlength=65536)
        up = r < 255
        H += np.bincount((r[up] + 1) * 256 + c[up], weights=f[up], minlength=65536)
        return H.reshape(256, 256)
    return call


@peer("mip_render")
def mip_render(i):
    values, xyz = i["mip_values"].reshape(-1), i["mip_xyz"]
    rows, cols = (int(v) for v in i["mip_dims"].reshape(-1)[3:5])
    DX, DY, DZ = 182, 218, 182
    cx, cy, cz = 89, 125, 71

    def call():
        # Three views of the rounded positions (the pixel of coordinate 0 at
        # cx, cy, cz; the first view mirrored in x), each point kept where it
        # lands inside the view; the largest value wins a pixel.
        x, y, z = np.rint(xyz).astype(np.intp)
        x, y, z = x + cx, y + cy, z + cz
        in_x, in_y, in_z = (x >= 0) & (x < DX), (y >= 0) & (y < DY), (z >= 0) & (z < DZ)
        mip = np.zeros((rows, cols))
        for r, c, fits in ((y, 2 * cx - x, (2 * cx - x >= 0) & (2 * cx - x < DX) & in_y),
                           (y, DX + z, in_y & in_z),
                           (DY + x, DX + z, in_x & in_z)):
            np.maximum.at(mip, (r[fits], c[fits]), values[fits])
        return mip
    return call


@peer("region_graph")
def region_graph(i):
    labels, phase = i["parcels"], i["phase"]

    def call():
        parts = []
        for axis in (2, 1, 0):
            later = [slice(None)] * 3
            earlier = [slice(None)] * 3
            later[axis], earlier[axis] = slice(1, None), slice(None, -1)
            a, b = labels[tuple(later)], labels[tuple(earlier)]
            pair = (a != b) & (a != 0) & (b != 0)
            la, lb = a[pair], b[pair]
            pa, pb = phase[tuple(later)][pair], phase[tuple(earlier)][pair]
            first = la < lb
            parts.append((np.where(first, la, lb), np.where(first, lb, la), np.where(first, pa - pb, pb - pa)))
        i_, j_, p_ = (np.concatenate(c) for c in zip(*parts))
        return i_, j_, np.ones_like(i_), p_
    return call


def ramp_of(shape, g):
    """g[0]*(i-cx) + g[1]*(j-cy) + g[2]*(k-cz) on the grid, by broadcasting."""
    i, j, k = (np.arange(n) - (n - 1) / 2 for n in shape)
    return g[0] * i[:, None, None] + g[1] * j[None, :, None] + g[2] * k[None, None, :]


@peer("ramp_fit")
def ramp_fit(i):
    pm, mask = i["wrapped"], i["mask"]

    def call():
        inside = mask != 0
        g = []
        for axis in range(3):
            both = np.logical_and(np.delete(inside, 0, axis), np.delete(inside, -1, axis))
            d = np.diff(pm, axis=axis)[both]
            g.append(float(np.mean(d - 2 * np.pi * np.round(d / (2 * np.pi)))))
        return np.array(g), np.where(inside, pm - ramp_of(pm.shape, g), pm)
    return call


@peer("ramp_add")
def ramp_add(i):
    pm, mask, g = i["phase"], i["mask"], i["phase_ramp"].reshape(-1)

    def call():
        return np.where(mask != 0, pm + ramp_of(pm.shape, g), pm)
    return call


# uniform_filter keeps running sums, which leave rounding residue where the
# true sum is 0; the inputs' weights are 0 or 1, so any real sum of a 3x3x3
# box is at least one voxel's share.
HALF_VOXEL = 0.5 / 27


@peer("phase_fill")
def phase_fill(i):
    pm, w = i["holey"], i["weights"]

    def call():
        known = (w != 0).astype(np.float64)
        total = ndi.uniform_filter(pm * known, 3, mode="constant")
        count = ndi.uniform_filter(known, 3, mode="constant")
        fill = (known == 0) & (count > HALF_VOXEL)
        out, weights = pm.copy(), w.copy()
        out[fill] = total[fill] / count[fill]
        weights[fill] = 1
        return out, weights
    return call


@peer("weighted_blur")
def weighted_blur(i):
    pm, w = i["phase"], i["weights"]

    def call():
        total = ndi.uniform_filter(pm * w, 3, mode="constant")
        weight = ndi.uniform_filter(w, 3, mode="constant")
        with np.errstate(invalid="ignore", divide="ignore"):
            return np.where(weight > HALF_VOXEL, total / weight, pm)
    return call


@peer("label_relax")
def label_relax(i):
    P, F, G = i["P"], i["F"], i["G"]
    nx, ny, nz, K = P.shape
    # Voxel numbers of both colours of the checkerboard, in the volume and
    # in a copy padded by one zero voxel all round, and the padded steps to
    # the six face neighbours.
    x, y, z = np.meshgrid(np.arange(nx), np.arange(ny), np.arange(nz), indexing="ij")
    colour = ((x + y + z) % 2).reshape(-1, order="F")
    padded = ((x + 1) + (nx + 2) * ((y + 1) + (ny + 2) * (z + 1))).reshape(-1, order="F")
    sweeps = [(np.flatnonzero(colour == c), padded[colour == c]) for c in (0, 1)]
    steps = [1, nx + 2, (nx + 2) * (ny + 2)]
    Fv = F.reshape(-1, K, order="F")

    def call():
        Q = np.zeros((nx + 2, ny + 2, nz + 2, K), np.uint8, order="F")
        Q[1:-1, 1:-1, 1:-1] = P
        Qv = Q.reshape(-1, K, order="F")
        for voxels, at in sweeps:
            S = np.zeros((len(at), K), np.float32)
            for s in steps:
                S += Qv[at - s]
                S += Qv[at + s]
            p = Fv[voxels] * np.exp((S / 1530) @ G)
            total = p.sum(axis=1, keepdims=True)
            with np.errstate(invalid="ignore", divide="ignore"):
                Qv[at] = np.where(total > 0, np.rint(255 * p / total), 0).astype(np.uint8)
        return Q[1:-1, 1:-1, 1:-1]
    return call


@peer("geo_parcels")
def geo_parcels(i):
    mask, seeds = i["mask"], i["parcel_seeds"]

    def call():
        # Flooding a flat image from the seeds inside the mask grows each
        # seed's region breadth-first: a geodesic Voronoi labelling.
        markers = np.zeros(mask.shape, np.int32)
        x, y, z = (np.floor(seeds + 0.5).astype(np.intp) - 1).T
        markers[x, y, z] = np.arange(1, len(seeds) + 1)
        return skimage.segmentation.watershed(np.zeros(mask.shape, np.uint8), markers,
                                              connectivity=3, mask=mask > 0)
    return call


@peer("local_peaks")
def local_peaks(i):
    vol, L = i["smooth"], i["peak_list"]
    footprint = np.ones((3, 3, 3), bool)
    footprint[::2, ::2, ::2] = False           # no corners: 18 neighbours

    def call():
        top = ndi.maximum_filter(vol, footprint=footprint, mode="constant", cval=-np.inf)
        x, y, z = np.floor(L + 0.1).astype(np.intp) - 1
        return np.flatnonzero(vol[x, y, z] >= top[x, y, z]) + 1
    return call


@peer("morphology")
def morphology(i):
    return lambda: ndi.grey_dilation(i["scan"], size=(3, 3, 3))


def nan_reduce(axis):
    return lambda i: lambda: np.count_nonzero(~np.isnan(i["masked"]), axis=axis)


for axis in range(3):
    PEERS["nan_reduce_%d" % (axis + 1)] = nan_reduce(axis)


class Segment:
    """The acquisition segment through the C library, attached per call."""
    KEY, BYTES, PACKETS, WORDS = 0x39457F73, 67_596_000, 600, 28165

    def __init__(self):
        if not private_ipc_namespace():
            raise RuntimeError("the acquisition segment is touched only inside a private IPC namespace")
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.libc.shmat.restype = ctypes.c_void_p
        self.libc.shmat.argtypes = [ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
        self.libc.shmdt.argtypes = [ctypes.c_void_p]

    def __call__(self, use):
        found = self.libc.shmget(self.KEY, ctypes.c_size_t(self.BYTES), 0o1000 | 0o644)   # IPC_CREAT
        if found < 0:
            raise OSError(ctypes.get_errno(), "shmget")
        address = self.libc.shmat(found, None, 0)
        if address in (None, ctypes.c_void_p(-1).value):
            raise OSError(ctypes.get_errno(), "shmat")
        try:
            words = (ctypes.c_int32 * (self.PACKETS * self.WORDS)).from_address(address)
            return use(np.frombuffer(words, np.int32).reshape(self.PACKETS, self.WORDS))
        finally:
            self.libc.shmdt(address)


@peer("acq_read_headers")
def acq_read_headers(i):
    segment = Segment()
    return lambda: segment(lambda s: s[:, :5].T.copy())


@peer("acq_read_packet")
def acq_read_packet(i):
    segment = Segment()
    return lambda: segment(lambda s: s[16, 5:].copy())


@peer("acq_write")
def acq_write(i):
    segment = Segment()
    samples = i["samples"].reshape(-1)
    words = np.array([1, 17, 28160, 0, 1], np.int32)

    def store(s):
        s[16, :5] = words
        s[16, 5:5 + samples.size] = samples
    return lambda: segment(store)


@peer("pack_value")
def pack_value(i):
    def call():
        f = io.BytesIO()
        scipy.io.savemat(f, {"value": i["masked"]}, do_compression=False)
        return f.getbuffer()
    return call


@peer("unpack_value")
def unpack_value(i):
    packed = i["packed"].tobytes()
    return lambda: scipy.io.loadmat(io.BytesIO(packed))["value"]


def nifti_read(nifti_file):
    def make(i):
        def call():
            image = nibabel.load(nifti_file)
            return np.asanyarray(image.dataobj), image.affine
        return call
    return make


def copy_inputs(i):
    arrays = [a for a in i.values() if isinstance(a, np.ndarray)]
    return lambda: [a.copy(order="K") for a in arrays]


def serve(inputs, nifti_file):
    PEERS["nifti_read"] = nifti_read(nifti_file)
    loaded = {}
    calls = {}
    for line in sys.stdin:
        words = line.split()
        if words == ["quit"]:
            break
        try:
            _, case, side, repeat, needed = words
            names = [] if needed == "-" else needed.split(",")
            for name in names:
                if name not in loaded:
                    loaded[name] = load(inputs, name)
            if (case, side) not in calls:
                make = copy_inputs if side == "floor" else PEERS[case]
                calls[case, side] = make({name: loaded[name] for name in names})
            call = calls[case, side]
            repeat = int(repeat)
            t0 = time.perf_counter()
            for _ in range(repeat):
                result = call()
            seconds = (time.perf_counter() - t0) / repeat
            del result
            print("\n@@time %.9g" % seconds, flush=True)
        except Exception as err:
            print("\n@@error %s: %s" % (type(err).__name__, str(err).replace("\n", " ")), flush=True)


if __name__ == "__main__":
    serve(*sys.argv[1:3])
