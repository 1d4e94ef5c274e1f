% NRX_LOCAL_PEAKS  Which listed voxels are local maxima of a volume.
%
%   idx = nrx_local_peaks(VOL, L)
%
%   VOL  double, 2-D or 3-D.
%   L    double, 3 x n one-based voxel coordinates (x; y; z), or 2 x n
%        (x; y) when VOL is 2-D. Coordinates are taken as fix(v + 0.1).
%
%   idx  double, 1 x m: the column numbers of L, ascending, whose voxel no
%        face or edge neighbour (18-neighbourhood) exceeds. Equal neighbours
%        and NaN neighbours do not disqualify; neighbours outside VOL are
%        ignored. Columns outside VOL are left out without error. With a
%        3 x n list and a 2-D VOL every z must be 1.
