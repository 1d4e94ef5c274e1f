% Plug-in tests of nrx_local_peaks, run through the host.

%!function idx = reference_peaks (V, L)
%!  % Columns of L whose voxel no face or edge neighbour exceeds.
%!  idx = zeros (1, 0);
%!  sz = [size(V) 1];
%!  for c = 1:columns (L)
%!    p = fix (L(:, c)' + 0.1);
%!    if (numel (p) == 2) p(3) = 1; end
%!    if (any (p < 1) || any (p > sz(1:3))) continue; end
%!    peak = true;
%!    [dx, dy, dz] = ndgrid (-1:1);
%!    for k = find (abs (dx(:)) + abs (dy(:)) + abs (dz(:)) <= 2)'
%!      n = p + [dx(k) dy(k) dz(k)];
%!      if (all (n >= 1) && all (n <= sz(1:3)) && V(n(1), n(2), n(3)) > V(p(1), p(2), p(3)))
%!        peak = false;
%!      end
%!    end
%!    if (peak) idx(end + 1) = c; end
%!  end
%!endfunction

%!shared V, L
%! rand ("seed", 2);
%! V = floor (4 * rand (6, 5, 4));     % small integers: many plateaus
%! V(3, 3, 2) = NaN;
%! [x, y, z] = ndgrid (0:7, 0:6, 0:5);
%! L = [x(:) - 0.05, y(:) + 0.04, z(:)]';

%!test
%! % Every voxel and a ring around the volume listed: the reference decides.
%! idx = nrx_local_peaks (V, L);
%! assert (idx, reference_peaks (V, L));
%! assert (size (idx, 1), 1);

%!test
%! % One strict peak among its neighbours; a greater corner neighbour does
%! % not disqualify; the same voxel twice gives both columns.
%! W = zeros (3, 3, 3);
%! W(2, 2, 2) = 5;
%! assert (nrx_local_peaks (W, [2 1 2 2 3; 2 2 2 2 3; 2 2 2 2 3]), [1 3 4 5]);

%!test
%! % 2-D maps: a 2-row list; a 3-row list whose z values convert to 1.
%! M = [1 7 7 2; 0 1 1 5; NaN 2 0 3];
%! assert (nrx_local_peaks (M, [1 1 2 3 3 2; 2 3 4 1 2 1]), [1 2 4 5]);
%! assert (nrx_local_peaks (M, [1 1 2 3; 2 3 4 1; 0.95 1.05 1 1.89]), [1 2 4]);
%! % Candidates outside are left out, and an empty list gives 1 x 0.
%! assert (nrx_local_peaks (M, [0.85 1 4 5 NaN; 2 2 1 1 1]), 2);
%! assert (nrx_local_peaks (M, zeros (2, 0)), zeros (1, 0));
%! assert (nrx_local_peaks (V, zeros (3, 0)), zeros (1, 0));

%!test
%! % More than 1000 maxima, all returned in column order.
%! [x, y] = ndgrid (1:50, 1:60);
%! assert (nrx_local_peaks (ones (50, 60), [x(:) y(:)]'), 1:3000);

% Refusals, in the order the arguments are checked.
%!error <^nrx_local_peaks: Not enough input arguments\.$> nrx_local_peaks (V)
%!error <^nrx_local_peaks: Not enough input arguments\.$> [a, b] = nrx_local_peaks (V)
%!error <^nrx_local_peaks: Too many input arguments\.$> nrx_local_peaks (V, L, 18)
%!error <^nrx_local_peaks: Not enough output arguments$> nrx_local_peaks (V, L)
%!error <^nrx_local_peaks: Too many output arguments\.$> [a, b] = nrx_local_peaks (V, L)
%!error <^nrx_local_peaks: nrx_local_peaks: VOL must be numeric, real, full and double$> idx = nrx_local_peaks (single (V), L)
%!error <^nrx_local_peaks: nrx_local_peaks: VOL must be numeric, real, full and double$> idx = nrx_local_peaks (complex (V), L)
%!error <^nrx_local_peaks: nrx_local_peaks: VOL must be numeric, real, full and double$> idx = nrx_local_peaks (sparse (V(:, :, 1)), L)
%!error <^nrx_local_peaks: nrx_local_peaks: VOL must be numeric, real, full and double$> idx = nrx_local_peaks (V > 1, single (L))
%!error <^nrx_local_peaks: nrx_local_peaks: VOL must 2- or 3-dimensional$> idx = nrx_local_peaks (ones (2, 2, 2, 2), single (L))
%!error <^nrx_local_peaks: nrx_local_peaks: L must be numeric, real, full and double$> idx = nrx_local_peaks (V, single (L))
%!error <^nrx_local_peaks: nrx_local_peaks: L must be numeric, real, full and double$> idx = nrx_local_peaks (V, sparse (L))
%!error <^nrx_local_peaks: nrx_local_peaks: L must be 3xn \(or 2xn\) list of voxel coordinates$> idx = nrx_local_peaks (V, L(1:2, :))
%!error <^nrx_local_peaks: nrx_local_peaks: L must be 3xn \(or 2xn\) list of voxel coordinates$> idx = nrx_local_peaks (V, L')
%!error <^nrx_local_peaks: nrx_local_peaks: L must be 3xn \(or 2xn\) list of voxel coordinates$> idx = nrx_local_peaks (V(:, :, 1), ones (4, 2))
%!error <^nrx_local_peaks: nrx_local_peaks: z-coordinate must be 1 when using 3xn list with 2D map$> idx = nrx_local_peaks (V(:, :, 1), [1 1; 1 1; 1 1.9])
%!error <^nrx_local_peaks: nrx_local_peaks: z-coordinate must be 1 when using 3xn list with 2D map$> idx = nrx_local_peaks (V(:, :, 1), [1; 1; 0.5])
%!error <^nrx_local_peaks: nrx_local_peaks: z-coordinate must be 1 when using 3xn list with 2D map$> idx = nrx_local_peaks (V(:, :, 1), [1; 1; NaN])

% Sizes beyond the 32-bit range are refused, never truncated.
%!error <^nrx_local_peaks: nrx_local_peaks: VOL too large: dimensions and element count must fit in 32-bit integers$> idx = nrx_local_peaks (zeros (3e9, 0), L)
%!error <^nrx_local_peaks: nrx_local_peaks: L too large: dimensions and element count must fit in 32-bit integers$> idx = nrx_local_peaks (V, zeros (3, 0, 3e9))
