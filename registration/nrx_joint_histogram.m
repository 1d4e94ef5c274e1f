% NRX_JOINT_HISTOGRAM  Joint intensity histogram of two uint8 volumes.
%
%   H = nrx_joint_histogram(V1, V2, M)
%   H = nrx_joint_histogram(V1, V2, M, S)
%
%   V1  uint8, real, exactly 3-D: the first volume. Its voxel grid, stepped
%       by S from voxel (1, 1, 1) and each point shifted by a fixed jitter
%       of less than one step, gives the points that are counted.
%   V2  uint8, real, exactly 3-D: the second volume.
%   M   4x4 double matrix mapping one-based voxel coordinates of V1 to
%       one-based voxel coordinates of V2 (the last row is not used).
%   S   three doubles (row or column): the grid steps along x, y and z in
%       voxels of V1, used in single precision. Default [1 1 1]. Each must
%       be positive and large enough to move the single-precision grid
%       coordinate; steps that would never finish the grid are refused (the
%       default too, on an axis longer than 2^24 + 1 voxels).
%
%   H   256 x 256 double: H(r+1, c+1) counts the points whose V1 value,
%       interpolated trilinearly and rounded (halves up), is c, and whose V2
%       value, interpolated trilinearly at the mapped point, lies between r
%       and r+1; each point's unit weight is split linearly between rows r
%       and r+1. Points mapped outside V2 (1 <= coordinate < size along
%       every axis) are not counted.
%
%   The jitter comes from a fixed table, so the same arguments always give
%   the same histogram.
