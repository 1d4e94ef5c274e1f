% nrx demo: Jacobian determinants of a smooth synthetic deformation.
%
% Builds a deformation of a 2 mm grid the size of an adult head (a gentle
% expansion in one region, a compression in another), computes its Jacobian
% determinants, then moves the whole field by a rigid rotation in place and
% shows that the determinants do not change.

dim = [91 109 91];
M = [2 0 0 -90; 0 2 0 -126; 0 0 2 -72; 0 0 0 1];
[i, j, k] = ndgrid (0:dim(1)-1, 0:dim(2)-1, 0:dim(3)-1);
x = M(1,1)*i + M(1,4);
y = M(2,2)*j + M(2,4);
z = M(3,3)*k + M(3,4);

% Radial displacements: a swelling around (30, -20, 10) and a shrinkage
% around (-35, 20, 0), each a smooth Gaussian bump of a few millimetres.
bump = @(cx, cy, cz, s) exp (-((x-cx).^2 + (y-cy).^2 + (z-cz).^2) / (2*s^2));
swell = 6 * bump (30, -20, 10, 15) / 15;
shrink = -5 * bump (-35, 20, 0, 12) / 12;
Y1 = single (x + swell .* (x - 30) + shrink .* (x + 35));
Y2 = single (y + swell .* (y + 20) + shrink .* (y - 20));
Y3 = single (z + swell .* (z - 10) + shrink .* z);

printf ("nrx demo: Jacobian determinants of a %d x %d x %d deformation (2 mm voxels)\n", dim);
tic;
J = nrx_warp_jacobian (Y1, Y2, Y3, M);
seconds = toc;
inside = J(isfinite (J));
printf ("  computed in %.2f s; %d interior voxels, border set to NaN\n", seconds, numel (inside));
printf ("  determinant range %.3f .. %.3f, mean %.4f\n", min (inside), max (inside), mean (inside));
printf ("  expanding (> 1.05): %.2f%%   compressing (< 0.95): %.2f%%   folded (<= 0): %.4f%%\n",
        100 * mean (inside > 1.05), 100 * mean (inside < 0.95), 100 * mean (inside <= 0));

% A rigid rotation of every point of the field, in place: volumes are kept.
a = pi / 12;
R = [cos(a) -sin(a) 0 4; sin(a) cos(a) 0 -3; 0 0 1 2; 0 0 0 1];
tic;
nrx_warp_affine (Y1, Y2, Y3, R);
seconds = toc;
J2 = nrx_warp_jacobian (Y1, Y2, Y3, M);
change = max (abs (J2(isfinite (J2)) - inside));
printf ("  rotated the field in place in %.3f s; largest change of a determinant %.2g\n", seconds, change);
