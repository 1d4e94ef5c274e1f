function [rows, pictures, results] = tour_projection (data, out, results)
  % A glass-brain maximum-intensity projection of the brightest brain
  % voxels, located in millimetres: the built-in layout matches this 1 mm
  % space (400 x 364 pixels, three views).
  inside = find (data.mask);
  values = double (data.brain(inside));
  threshold = quantile (values, 0.9);
  bright = inside(values >= threshold);
  [i, j, k] = ind2sub (size (data.brain), bright);
  xyz = data.M * [i' - 1; j' - 1; k' - 1; ones(1, numel (bright))];
  tic;
  mip = nrx_mip_render (double (data.brain(bright)), xyz(1:3, :), [1 1 1 400 364]);
  seconds = toc;
  rows = struct ("step", "projection", "plugin", "nrx_mip_render",
                 "figure", sprintf ("%d brightest voxels into 400 x 364, %d pixels lit", numel (bright), nnz (mip)),
                 "seconds", seconds);
  tour_picture (fullfile (out, "glass_brain.png"), mip, hot (256), [threshold - 10, max(mip(:))], 2);
  pictures = struct ("file", "glass_brain.png",
                     "caption", "Glass brain: maximum-intensity projections of the brightest tenth of brain voxels, seen from above (top left), from the side (top right) and from behind (bottom right).");
end
