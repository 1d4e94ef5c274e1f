function [rows, pictures, results] = tour_classes (data, out, results)
  % Tissue classes: Gaussian intensity likelihoods of CSF, grey and white
  % matter inside the brain, turned into byte probabilities and relaxed by
  % several sweeps of the Markov-random-field class update, in place.
  I = double (data.brain);
  inside = data.mask;
  means = class_means (I(inside));
  width = 0.6 * min (diff (means));
  K = numel (means);
  F = zeros ([size(I) K], "single");
  for c = 1:K
    F(:, :, :, c) = single (inside .* exp (-(I - means(c)).^2 / (2 * width^2)));
  end
  total = sum (F, 4);
  total(total == 0) = 1;
  P = uint8 (255 * F ./ total);
  [~, before] = max (P, [], 4);
  G = single (2 * eye (K));      % neighbours of one class attract that class
  sweeps = 4;
  tic;
  for s = 1:sweeps
    nrx_label_relax (P, F, G);   % no output: P is updated in place
  end
  seconds = toc / sweeps;
  [~, after] = max (P, [], 4);
  changed = mean (before(inside) != after(inside));
  rows = struct ("step", "tissue classes", "plugin", "nrx_label_relax",
                 "figure", sprintf ("K = %d, %d sweeps, %.1f%% of brain voxels changed class",
                                    K, sweeps, 100 * changed),
                 "seconds", seconds);
  k = round (size (I, 3) / 2) + 5;
  show = @(labels) tour_axial (labels .* inside(:, :, k), 1);
  map = [0 0 0; 0.2 0.4 0.9; 0.6 0.6 0.6; 1 1 0.85];
  tour_picture (fullfile (out, "classes.png"), [show(before(:, :, k)) show(after(:, :, k))], map, [0 3], 2);
  pictures = struct ("file", "classes.png",
                     "caption", sprintf ("Most probable class (blue CSF, grey grey matter, white white matter) from intensities alone (left) and after %d relaxation sweeps (right).", sweeps));
  results.class_fractions = accumarray (after(inside), 1, [K 1])' / nnz (inside);
end

function means = class_means (values)
  % Three intensity centres from a few rounds of one-dimensional k-means,
  % started evenly across the bulk of the intensity range.
  range = quantile (values, [0.01 0.99]);
  means = range(1) + (range(2) - range(1)) * [0.15 0.5 0.85];
  for round = 1:10
    [~, nearest] = min (abs (values - means), [], 2);
    means = accumarray (nearest, values, [3 1], @mean)';
  end
end
