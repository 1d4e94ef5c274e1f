% NRX_MIP_RENDER  Maximum-intensity projections of located values.
%
%   MIP = nrx_mip_render(VALUES, LOCATIONS, DIMS)
%   MIP = nrx_mip_render(VALUES, LOCATIONS, DIMS, DXYZ, CXYZ)
%
%   VALUES     double, N elements (any shape): the value of each point.
%   LOCATIONS  3 x N double: column i holds point i's x, y, z in pixels.
%   DIMS       five doubles: the point extents vx, vy, vz in pixels, then
%              the number of rows and of columns of MIP. A point covers
%              fix(abs(v) + 0.99) pixels' worth along each axis.
%   DXYZ       three doubles: the view extents DX, DY, DZ (default
%              [182 218 182]).
%   CXYZ       three doubles: the pixel index of coordinate 0 along x, y, z
%              (default [89 125 71]).
%
%   MIP        rows x columns double, new and zero-filled on every call,
%              holding three views: along z (rows y, columns x mirrored),
%              along x (rows y, columns z) and along y (rows x, columns z).
%
%   When rows = DY + DX and columns = DZ + DX (none of DXYZ negative), the
%   views are DY x DX, DY x DZ and DX x DZ blocks: coordinates are rounded
%   to whole pixels, a point covers an odd-sized rectangle centred on it, a
%   pixel keeps the largest value drawn into it, and a rectangle that does
%   not fit wholly inside its view is left out of that view. Otherwise a
%   360 x 352 MIP uses a fixed layout: coordinates are truncated, each
%   rectangle starts at a fixed place, and is set to the larger of the
%   point's value and one pixel of the matrix, so later points can lower
%   earlier ones; rectangles that would leave the matrix are left out. Any
%   other size is an error. Points with coordinates that are not finite or
%   beyond 32-bit integers are left out.
