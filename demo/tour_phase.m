function [rows, pictures, results] = tour_phase (data, out, results)
  % A synthetic field map inside the brain: a linear phase ramp plus a
  % smooth off-resonance bump near the sinuses, wrapped into (-pi, pi].
  % The ramp is fitted and removed, holes are filled from their neighbours,
  % the map is smoothed under its weights, the ramp is restored, and the
  % region graph of the parcels is listed.
  mask = double (data.mask);
  [i, j, k] = ndgrid (0:size (mask, 1)-1, 0:size (mask, 2)-1, 0:size (mask, 3)-1);
  ramp = [0.12 -0.07 0.03];
  centre = (size (mask) - 1) / 2;
  bump = 2.5 * exp (-((i - 90).^2 + (j - 150).^2 + (k - 50).^2) / (2 * 18^2));
  field = ramp(1) * (i - centre(1)) + ramp(2) * (j - centre(2)) + ramp(3) * (k - centre(3)) + bump;
  wrapped = mod (field + pi, 2 * pi) - pi;
  wrapped(! data.mask) = 0;
  clear i j k bump field;

  tic;
  [fitted, flat] = nrx_ramp_fit (wrapped, mask);
  seconds = toc;
  rows = struct ("step", "phase", "plugin", "nrx_ramp_fit",
                 "figure", sprintf ("ramp (%.4f, %.4f, %.4f) rad/voxel, true (%.2f, %.2f, %.2f)", fitted, ramp),
                 "seconds", seconds);

  % Knock out 5% of the brain's voxels and fill them from known neighbours.
  rand ("state", 5);
  weights = mask;
  holes = find (data.mask & rand (size (mask)) < 0.05);
  weights(holes) = 0;
  tic;
  [filled, filled_weights] = nrx_phase_fill (flat, weights, ones (3, 3, 3));
  seconds = toc;
  rows(2) = struct ("step", "phase", "plugin", "nrx_phase_fill",
                    "figure", sprintf ("%d of %d holes filled in one pass", nnz (filled_weights(holes)),
                                       numel (holes)),
                    "seconds", seconds);
  tic;
  smoothed = nrx_weighted_blur (filled, filled_weights, ones (3, 3, 3));
  seconds = toc;
  rows(3) = struct ("step", "phase", "plugin", "nrx_weighted_blur",
                    "figure", sprintf ("3x3x3 weighted mean, rms change %.3f rad",
                                       sqrt (mean ((smoothed(data.mask) - filled(data.mask)).^2))),
                    "seconds", seconds);
  tic;
  restored = nrx_ramp_add (smoothed, mask, fitted);
  seconds = toc;
  back = nrx_ramp_add (flat, mask, fitted);
  rows(4) = struct ("step", "phase", "plugin", "nrx_ramp_add",
                    "figure", sprintf ("ramp restored, fit-remove-add error %.1g rad",
                                       max (abs (back(data.mask) - wrapped(data.mask)))),
                    "seconds", seconds);

  labels = results.parcels;
  tic;
  [a, b, n, p] = nrx_region_graph (labels, restored);
  seconds = toc;
  pairs = unique ([a b], "rows");
  rows(5) = struct ("step", "phase", "plugin", "nrx_region_graph",
                    "figure", sprintf ("%d bordering voxel pairs, %d neighbouring parcel pairs", numel (n),
                                       rows_of (pairs)),
                    "seconds", seconds);

  s = round (size (mask, 3) / 2) - 10;
  show = @(v) tour_axial (v .* (mask(:, :, s) ./ mask(:, :, s)), 1);
  tour_picture (fullfile (out, "phase.png"), [show(wrapped(:, :, s)) show(flat(:, :, s)) show(restored(:, :, s))],
                hsv (256), [-pi pi], 2);
  tour_picture (fullfile (out, "phase_unwrapped.png"), show (flat(:, :, s)), jet (256), [-3 3], 2);
  pictures = struct ("file", {"phase.png", "phase_unwrapped.png"},
                     "caption", {"Field map on a cyclic scale: wrapped with its ramp (left), after ramp removal (middle), smoothed with the ramp restored (right).",
                                 "The ramp-free map on a linear scale (-3 to 3 rad): what remains is the smooth off-resonance bump."});
  results.phase_ramp = fitted';
end

function n = rows_of (a)
  n = size (a, 1);
end
