% NRX_REGION_GRAPH  Bordering voxel pairs of the regions of a label image.
%
%   [i, j, n, p] = nrx_region_graph(rima, pm)
%
%   rima   double, real, 2-D or 3-D: region labels, 0 for no region (any
%          other value, NaN included, is a region number).
%   pm     double, real, the size of rima: phase map in radians.
%
%   i, j, n, p   N-by-1 double columns, one row per pair of face-adjacent
%          voxels with two different non-zero labels: i the smaller label,
%          j the larger, n = 1, and p the phase on the side of label i minus
%          the phase on the side of label j (not wrapped). Rows are not
%          merged, so sparse(i, j, n) counts the bordering voxel pairs of two
%          regions and sparse(i, j, p) sums their phase differences. Rows
%          come in storage order of the later voxel of each pair, and for
%          one voxel in the order of its neighbours at k-1, j-1, i-1.
