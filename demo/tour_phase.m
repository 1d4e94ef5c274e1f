function [rows, pictures, results] = tour_phase (data, out, results)
  % A synthetic field map inside the brain, a linear phase ramp plus a
  % smooth off-resonance bump, seen wrapped into (-pi, pi] as a scanner
  % measures it. The ramp is fitted and removed (after which re-wrapping
  % leaves only the bump, free of 2 pi jumps), holes are filled from their
  % neighbours, the map is smoothed under its weights and the ramp is
  % restored: the result is the unwrapped field. The region graph of the
  % parcels on that field closes the step.
  mask = double (data.mask);
  [i, j, k] = ndgrid (0:size (mask, 1)-1, 0:size (mask, 2)-1, 0:size (mask, 3)-1);
  ramp = [0.12 -0.07 0.03];
  centre = (size (mask) - 1) / 2;
  bump = 2.5 * exp (-((i - 90).^2 + (j - 150).^2 + (k - 70).^2) / (2 * 18^2));
  field = (ramp(1) * (i - centre(1)) + ramp(2) * (j - centre(2)) + ramp(3) * (k - centre(3)) + bump) .* mask;
  clear i j k bump;
  rewrap = @(phase) mod (phase + pi, 2 * pi) - pi;
  wrapped = rewrap (field) .* mask;

  tic;
  [fitted, flat] = nrx_ramp_fit (wrapped, mask);
  seconds = toc;
  rows = struct ("step", "phase", "plugin", "nrx_ramp_fit",
                 "figure", sprintf ("ramp (%.4f, %.4f, %.4f) rad/voxel, true (%.2f, %.2f, %.2f)", fitted, ramp),
                 "seconds", seconds);
  residual = rewrap (flat) .* mask;

  % Knock out 5% of the brain's voxels and fill them from known neighbours.
  rand ("state", 5);
  weights = mask;
  holes = find (data.mask & rand (size (mask)) < 0.05);
  weights(holes) = 0;
  residual(holes) = 0;
  tic;
  [filled, filled_weights] = nrx_phase_fill (residual, weights, ones (3, 3, 3));
  seconds = toc;
  rows(2) = struct ("step", "phase", "plugin", "nrx_phase_fill",
                    "figure", sprintf ("%d of %d holes filled in one pass", nnz (filled_weights(holes)),
                                       numel (holes)),
                    "seconds", seconds);
  tic;
  smoothed = nrx_weighted_blur (filled, filled_weights, ones (3, 3, 3));
  seconds = toc;
  rows(3) = struct ("step", "phase", "plugin", "nrx_weighted_blur",
                    "figure", sprintf ("3x3x3 weighted mean, rms change %.4f rad",
                                       sqrt (mean ((smoothed(data.mask) - filled(data.mask)).^2))),
                    "seconds", seconds);
  tic;
  unwrapped = nrx_ramp_add (smoothed, mask, fitted);
  seconds = toc;
  rows(4) = struct ("step", "phase", "plugin", "nrx_ramp_add",
                    "figure", sprintf ("field unwrapped, rms error %.4f rad over a %.0f rad range",
                                       sqrt (mean ((unwrapped(data.mask) - field(data.mask)).^2)),
                                       max (field(data.mask)) - min (field(data.mask))),
                    "seconds", seconds);

  tic;
  [a, b, n, ~] = nrx_region_graph (results.parcels, unwrapped);
  seconds = toc;
  rows(5) = struct ("step", "phase", "plugin", "nrx_region_graph",
                    "figure", sprintf ("%d bordering voxel pairs, %d neighbouring parcel pairs", numel (n),
                                       size (unique ([a b], "rows"), 1)),
                    "seconds", seconds);

  s = 71;                                   % the axial slice through the bump
  outside = zeros (size (mask(:, :, s)));
  outside(! data.mask(:, :, s)) = NaN;                         % black outside the brain
  show = @(v) tour_axial (v(:, :, s) + outside, 1);
  tour_picture (fullfile (out, "phase_wrapped.png"), [show(wrapped) show(residual)], hsv (256), [-pi pi], 2);
  range = [min(field(data.mask)) max(field(data.mask))];
  tour_picture (fullfile (out, "phase_unwrapped.png"), [show(field) show(unwrapped)], jet (256), range, 2);
  pictures = struct ("file", {"phase_wrapped.png", "phase_unwrapped.png"},
                     "caption", {"Phase on a cyclic scale: the wrapped field map (left) and what is left once its fitted ramp is removed and it is wrapped again (right): the smooth bump, free of 2 pi jumps, dotted with the 5% of voxels knocked out (set to 0) for filling.", ...
                                 "Unwrapped on a linear scale: the true field (left) and the one recovered by filling, smoothing and restoring the ramp (right)."});
  results.phase_ramp = fitted';
end
