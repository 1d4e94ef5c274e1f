% NRX_WARP_AFFINE  Apply a 4x4 homogeneous transform to a deformation field in place.
%
%   nrx_warp_affine(Y1, Y2, Y3, M)
%
%   Y1, Y2, Y3  single, real, at most 3-D, all of one size: the x, y and z
%               coordinates of one point per voxel. They are OVERWRITTEN:
%               each point p becomes (M * [p; 1]) with its first three
%               elements divided by the fourth (rounded to single).
%   M           4x4 double matrix.
%
%   Returns nothing; asking for an output is an error. Every variable that
%   still shares data with Y1, Y2 or Y3 changes with them: after B = Y1, or
%   a copy kept in a struct field or a function handle, B changes too. To
%   keep such a copy unchanged, give the field its own data first
%   (Y1 = Y1 + 0;) or pass fresh copies.
