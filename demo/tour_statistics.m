function [rows, pictures, results] = tour_statistics (data, out, results)
  % NaN-aware counting of a masked scan, and gamma samples against their
  % expected mean.
  masked = double (data.brain);
  masked(! data.mask) = NaN;
  tic;
  counts = nrx_nan_reduce (masked, 3);
  seconds = toc;
  rows = struct ("step", "statistics", "plugin", "nrx_nan_reduce",
                 "figure", sprintf ("brain voxels per vertical column: up to %d, %d in all (mask %d)",
                                    max (counts(:)), sum (counts(:)), nnz (data.mask)),
                 "seconds", seconds);
  tour_picture (fullfile (out, "column_counts.png"), rot90 (counts), hot (256), [0 max(counts(:))], 2);

  shape = 2.5; scale = 4;
  tic;
  samples = nrx_gamma_sampler (shape, scale, 1e6, 1);
  seconds = toc;
  rows(2) = struct ("step", "statistics", "plugin", "nrx_gamma_sampler",
                    "figure", sprintf ("10^6 samples, mean %.3f (expected %.1f), variance %.2f (expected %.1f)",
                                       mean (samples), shape * scale, var (samples), shape * scale^2),
                    "seconds", seconds);
  pictures = struct ("file", "column_counts.png",
                     "caption", "Number of brain voxels in each vertical column, counted by skipping NaN outside the brain (view from above).");
  results.gamma_mean = mean (samples);
end
