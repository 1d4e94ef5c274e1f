% NRX_WEIGHTED_BLUR  Smooths a phase map under a weight map.
%
%   pm = nrx_weighted_blur(pm, wmap, kernel)
%
%   pm      double, real, 2-D or 3-D: phase map in radians.
%   wmap    double, real, the size of pm: one weight per voxel.
%   kernel  double, real, 2-D or 3-D, any size: laid over the map with its
%           element floor(size/2)+1 on the voxel, so an even size reaches
%           one voxel further back than forward.
%
%   pm      at every voxel, with w = kernel value * weight over the voxels
%           of its kernel box inside the map (the voxel itself included):
%           sum(w .* phase) / sum(w). Where sum(w) is 0 the voxel keeps its
%           phase. A NaN weight, or a NaN phase in the box, gives NaN unless
%           sum(w) is 0. Phases are averaged as plain numbers, not wrapped.
