% NRX_GEO_PARCELS  Geodesic Voronoi labelling of a mask from seed points.
%
%   [labels, dists] = nrx_geo_parcels(img, seeds)
%   [labels, dists] = nrx_geo_parcels(img, seeds, dist)
%
%   img    double, 2-D or 3-D: the mask; inside where greater than 0.
%   seeds  double, n x 3: one-based voxel coordinates of the seeds, rounded
%          to the nearest voxel (0.5 rounds up to 1); for a 2-D img the third
%          must round to 1.
%   dist   the chamfer distance: "d4" (face steps, 1), "d8" (face and edge
%          steps, 1), "d34" (face 3, edge 4, corner 5; the default) or
%          "d5711" (steps within 2 voxels: 5, 7, 9, 11, 12, 15).
%
%   labels  double, the size of img: the number of the seed nearest to each
%           inside voxel along paths inside the mask; NaN where no seed
%           reaches, -1 outside.
%   dists   double, the size of img: that distance in the mask's units; 0 at
%           the seeds, Inf where no seed reaches, -1 outside.
%
%   Of two seeds at equal distance, the voxel keeps the one that reached it
%   first (the lower seed number among seeds that start together). A seed on
%   an outside voxel still spreads into the inside voxels next to it.
