% NRX_RAMP_ADD  Adds a linear phase ramp back to a phase map.
%
%   pm = nrx_ramp_add(pm, mask, ramps)
%
%   pm     double, real, 2-D or 3-D: phase map in radians (typically the
%          ramp-free map of nrx_ramp_fit, after unwrapping).
%   mask   double, real, the size of pm: voxels whose value is not 0 (NaN
%          included) get the ramp back.
%   ramps  double, real, 3x1 or 1x3: (gx, gy, gz) in radians per voxel, as
%          returned by nrx_ramp_fit.
%
%   pm     the input map plus gx*(i-cx) + gy*(j-cy) + gz*(k-cz) at every
%          voxel inside the mask, about the centre (cx, cy, cz) of the grid,
%          i, j, k counted from 0; voxels outside keep their value. With the
%          ramp and mask of nrx_ramp_fit this undoes its removal up to
%          rounding. A NaN in ramps makes every voxel inside the mask NaN.
