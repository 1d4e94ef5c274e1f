function [rows, pictures, results] = tour_registration (data, out, results)
  % Joint histograms of the scan against a copy of itself rotated about the
  % vertical axis, over a sweep of angles; the mutual information of each
  % histogram peaks where the trial rotation matches the true one.
  true_angle = 10;
  angles = -6:2:20;
  V1 = data.T1;
  centre = (size (V1)' + 1) / 2;                  % one-based voxel coordinates
  V2 = rotate_axial (V1, true_angle, centre);
  skips = [1.5 1.5 1.5];
  mi = zeros (size (angles));
  tic;
  for a = 1:numel (angles)
    H = nrx_joint_histogram (V1, V2, rotation_about (angles(a), centre), skips);
    mi(a) = mutual_information (H);
  end
  seconds = toc / numel (angles);
  [~, best] = max (mi);
  H = nrx_joint_histogram (V1, V2, rotation_about (true_angle, centre));
  H0 = nrx_joint_histogram (V1, V2, rotation_about (0, centre));

  rows = struct ("step", "registration", "plugin", "nrx_joint_histogram",
                 "figure", sprintf ("MI peaks at %d deg (true %d deg) over %d angles", angles(best),
                                    true_angle, numel (angles)),
                 "seconds", seconds);
  tour_picture (fullfile (out, "joint_histogram.png"), [flipud(log1p (H0)) flipud(log1p (H))], hot (256),
                [0 log1p(max (H(:)))], 2);
  plot_mutual_information (fullfile (out, "mutual_information.png"), angles, mi, true_angle);
  pictures = struct ("file", {"joint_histogram.png", "mutual_information.png"},
                     "caption", {"Joint histograms (log scale; rows: rotated copy, columns: scan) before alignment (left) and at the true angle (right), where the mass gathers on the diagonal.", ...
                                 sprintf("Mutual information against trial angle, %d to %d degrees; the red line marks the true rotation of %d degrees.", angles(1), angles(end), true_angle)});
  results.mutual_information = struct ("angles", angles, "mi", mi);
end

function M = rotation_about (degrees, centre)
  % Maps one-based voxel coordinates of the scan to those of a copy rotated
  % by degrees about the z axis through centre.
  t = degrees * pi / 180;
  R = [cos(t) -sin(t) 0; sin(t) cos(t) 0; 0 0 1];
  M = [R, centre - R * centre; 0 0 0 1];
end

function V2 = rotate_axial (V1, degrees, centre)
  % The scan rotated by degrees about the z axis, slice by slice with
  % bilinear interpolation; what comes from outside the scan is 0.
  t = degrees * pi / 180;
  [i, j] = ndgrid (1:rows (V1), 1:columns (V1));
  % Each output voxel takes the value found at the inverse rotation.
  si = cos(t) * (i - centre(1)) + sin(t) * (j - centre(2)) + centre(1);
  sj = -sin(t) * (i - centre(1)) + cos(t) * (j - centre(2)) + centre(2);
  V2 = zeros (size (V1), "uint8");
  for k = 1:size (V1, 3)
    V2(:, :, k) = uint8 (interp2 (double (V1(:, :, k)), sj, si, "linear", 0));
  end
end

function plot_mutual_information (file, angles, mi, true_angle)
  % The mutual information against trial angle as a PNG, with the true angle
  % as a red dashed line. Drawn by gnuplot on an invisible figure, so that
  % it needs no graphics window; the session's own toolkit is left as it was.
  warning ("off", "Octave:gnuplot-graphics", "local");   % gnuplot is all there is headless
  toolkit = graphics_toolkit ();
  graphics_toolkit ("gnuplot");
  f = figure ("visible", "off");
  graphics_toolkit (toolkit);
  unwind_protect
    span = max (mi) - min (mi) + (max (mi) == min (mi));
    limits = [min(mi) - 0.05 * span, max(mi) + 0.1 * span];
    blue = [0.1 0.3 0.8];
    plot (angles, mi, "-o", "color", blue, "markerfacecolor", blue, "linewidth", 3);
    hold on;
    plot ([true_angle true_angle], limits, "--", "color", [0.85 0.1 0.1], "linewidth", 3);
    axis ([angles([1 end]) limits]);
    set (gca, "xtick", angles, "gridcolor", [0.8 0.8 0.8]);
    grid on;
    title ("Mutual information of the scan and its rotated copy");
    xlabel ("trial angle (degrees)");
    ylabel ("mutual information (nats)");
    legend ({"mutual information", sprintf("true angle (%d degrees)", true_angle)}, "location", "northwest");
    print (f, file, "-dpng", "-r100", "-GraphicsAlphaBits=4");   % antialiased lines
  unwind_protect_cleanup
    close (f);
  end_unwind_protect
end

function mi = mutual_information (H)
  p = H / sum (H(:));
  marginal = sum (p, 2) * sum (p, 1);
  nz = p > 0;
  mi = sum (p(nz) .* log (p(nz) ./ marginal(nz)));
end
