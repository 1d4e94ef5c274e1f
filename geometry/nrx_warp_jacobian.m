% NRX_WARP_JACOBIAN  Jacobian determinants of a deformation field.
%
%   J = nrx_warp_jacobian(Y1, Y2, Y3, M)
%
%   Y1, Y2, Y3  single, real, at most 3-D, all of one size: the x, y and z
%               coordinates to which each voxel is carried.
%   M           4x4 double voxel-to-space matrix of the grid; its last row
%               must be exactly [0 0 0 1].
%
%   J           single, the size of Y1: the volume-weighted mean of the
%               determinants of the tetrahedra (five per 2x2x2 cube of
%               voxels, on which the field is taken as linear) that have the
%               voxel as a corner. Border voxels are NaN.
%
%   One "." is printed per interior plane, then a newline. A field equal to
%   the mapped voxel positions gives 1 everywhere inside; a field twice as
%   large gives 8.
