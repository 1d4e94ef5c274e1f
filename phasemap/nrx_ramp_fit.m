% NRX_RAMP_FIT  Linear phase ramp of a wrapped phase map, and its removal.
%
%   [ramp, pm] = nrx_ramp_fit(pm, mask)
%
%   pm     double, real, 2-D or 3-D: wrapped phase map in radians.
%   mask   double, real, the size of pm: a voxel takes part when its value
%          is not 0 (NaN counts as inside).
%
%   ramp   3x1 double (gx, gy, gz): the mean wrapped phase difference in
%          radians per voxel between neighbours inside the mask along the
%          first, second and third dimension. An axis without a single pair
%          of neighbours in the mask gives NaN for the first two, 0 for the
%          third (always 0 for a 2-D map).
%   pm     the input map minus gx*(i-cx) + gy*(j-cy) + gz*(k-cz) at every
%          voxel inside the mask, with (cx, cy, cz) the centre of the grid
%          and i, j, k counted from 0; voxels outside keep their value. The
%          result is not wrapped again.
%
%   Differences are wrapped into [-pi, pi] by steps of 2*pi; an infinite
%   difference wraps to NaN. nrx_ramp_add adds the ramp back.
