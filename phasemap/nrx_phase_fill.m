% NRX_PHASE_FILL  Fills empty phase voxels from their known neighbours.
%
%   [pm, wmap] = nrx_phase_fill(pm, wmap, kernel)
%
%   pm      double, real, 2-D or 3-D: phase map in radians.
%   wmap    double, real, the size of pm: a voxel of weight 0 is empty, any
%           other weight (NaN and negative included) marks a known phase.
%   kernel  double, real, 2-D or 3-D, any size: laid over the map with its
%           element floor(size/2)+1 on the voxel, so an even size reaches
%           one voxel further back than forward.
%
%   pm      every empty voxel with known voxels in its kernel box gets
%           sum(kernel .* phase) over those known voxels divided by their
%           number (not by the sum of the kernel); known voxels and empty
%           voxels without known neighbours keep their phase.
%   wmap    1 at the voxels filled, the input weight elsewhere.
%
%   Only the input maps are read, so one call grows the known region by the
%   reach of the kernel; call again to grow it further. The box is cut at
%   the border of the map. Phases are averaged as plain numbers.
