function [rows, pictures, results] = tour_deformation (data, out, results)
  % A smooth synthetic warp of the scan's grid (a swelling in the right
  % hemisphere, a shrinkage in the left), its Jacobian determinants, and
  % the whole warp moved in place by a rigid transform.
  M = data.M;
  [i, j, k] = ndgrid (0:size (data.T1, 1)-1, 0:size (data.T1, 2)-1, 0:size (data.T1, 3)-1);
  x = M(1,1)*i + M(1,2)*j + M(1,3)*k + M(1,4);
  y = M(2,1)*i + M(2,2)*j + M(2,3)*k + M(2,4);
  z = M(3,1)*i + M(3,2)*j + M(3,3)*k + M(3,4);
  bump = @(cx, cy, cz, s) exp (-((x-cx).^2 + (y-cy).^2 + (z-cz).^2) / (2*s^2));
  swell = 0.3 * bump (35, -20, 20, 14);
  shrink = -0.25 * bump (-35, 10, 10, 12);
  Y1 = single (x + swell .* (x - 35) + shrink .* (x + 35));
  Y2 = single (y + swell .* (y + 20) + shrink .* (y - 10));
  Y3 = single (z + swell .* (z - 20) + shrink .* (z - 10));
  clear x y z i j k swell shrink;

  tic;
  evalc ("J = nrx_warp_jacobian (Y1, Y2, Y3, M);");   % progress dots kept out of the table
  seconds = toc;
  inside = J(isfinite (J));
  rows = struct ("step", "deformation", "plugin", "nrx_warp_jacobian",
                 "figure", sprintf ("det J %.2f .. %.2f, folded %.3f%%", min (inside), max (inside),
                                    100 * mean (inside <= 0)),
                 "seconds", seconds);

  a = 12 * pi / 180;
  rigid = [cos(a) -sin(a) 0 2; sin(a) cos(a) 0 -3; 0 0 1 5; 0 0 0 1];
  before = double ([Y1(1000); Y2(1000); Y3(1000); 1]);
  tic;
  nrx_warp_affine (Y1, Y2, Y3, rigid);
  seconds = toc;
  moved = rigid * before;
  rows(2) = struct ("step", "deformation", "plugin", "nrx_warp_affine",
                    "figure", sprintf ("%d points moved in place, error %.1g mm", numel (Y1),
                                       norm (double ([Y1(1000); Y2(1000); Y3(1000)]) - moved(1:3))),
                    "seconds", seconds);

  slice = tour_axial (J, round (size (J, 3) / 2) + 10);
  slice(! tour_axial (data.mask, round (size (J, 3) / 2) + 10)) = NaN;
  tour_picture (fullfile (out, "jacobian.png"), slice, jet (256), [0.4 1.6], 2);
  pictures = struct ("file", "jacobian.png",
                     "caption", "Jacobian determinants of the synthetic warp inside the brain, axial slice 10 mm above the centre: red swells, blue shrinks (colour scale 0.4 to 1.6).");
  results.jacobian_range = [min(inside) max(inside)];
end
