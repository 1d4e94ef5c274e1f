function [rows, pictures, results] = tour_parcels (data, out, results)
  % Parcels and shapes of the brain mask: geodesic Voronoi regions grown
  % from a few dozen seeds, dilation and erosion of the mask, and local
  % maxima of the smoothed scan.
  mask = double (data.mask);
  inside = find (data.mask);
  rand ("state", 11);
  pick = inside(sort (randperm (numel (inside), 40)));
  [si, sj, sk] = ind2sub (size (mask), pick);
  tic;
  [labels, distance] = nrx_geo_parcels (mask, [si sj sk], "d34");
  seconds = toc;
  reached = isfinite (distance) & distance >= 0;
  rows = struct ("step", "parcels", "plugin", "nrx_geo_parcels",
                 "figure", sprintf ("%d seeds, %d voxels labelled, farthest %.0f mm", numel (pick),
                                    nnz (reached), max (distance(reached)) / 3),
                 "seconds", seconds);

  tic;
  dilated = nrx_morphology (mask, ones (3, 3, 3), "dilate");
  eroded = nrx_morphology (mask, ones (3, 3, 3), "erode");
  seconds = toc / 2;
  rows(2) = struct ("step", "parcels", "plugin", "nrx_morphology",
                    "figure", sprintf ("mask %d voxels, dilated +%d, eroded -%d", nnz (mask),
                                       nnz (dilated) - nnz (mask), nnz (mask) - nnz (eroded)),
                    "seconds", seconds);

  smooth = convn (double (data.brain), ones (5, 5, 5) / 125, "same");
  [ci, cj, ck] = ind2sub (size (mask), inside);
  tic;
  peaks = nrx_local_peaks (smooth, [ci cj ck]');
  seconds = toc;
  rows(3) = struct ("step", "parcels", "plugin", "nrx_local_peaks",
                    "figure", sprintf ("%d local maxima among %d brain voxels", numel (peaks), numel (inside)),
                    "seconds", seconds);

  k = round (size (mask, 3) / 2) + 5;
  rand ("state", 3);
  map = [0 0 0; 0.35 + 0.65 * rand(numel (pick), 3)];
  slice = tour_axial (labels, k);
  slice(slice < 0 | isnan (slice)) = 0;
  edge = tour_axial (dilated - eroded, k) > 0;
  slice(edge & slice == 0) = NaN;
  tour_picture (fullfile (out, "parcels.png"), slice, map, [0 numel(pick)], 2);
  pictures = struct ("file", "parcels.png",
                     "caption", "Geodesic Voronoi parcels of the brain from 40 seeds (chamfer 3-4-5 distances inside the mask), axial slice.");
  labels(isnan (labels) | labels < 0) = 0;
  results.parcels = labels;
  results.peak_count = numel (peaks);
end
