% Plug-in tests of nrx_local_peaks, run through the host.

%!shared V, L
%! V = zeros (3, 3, 3);
%! V(2, 2, 2) = 5;
%! L = [2 1 2 3 0; 2 2 2 3 1; 2 2 2 3 1];

%!test
%! % A strict peak among its neighbours; a greater corner neighbour does not
%! % disqualify; the same voxel twice gives both columns; a column outside
%! % is left out.
%! assert (nrx_local_peaks (V, L), [1 3 4]);
%! assert (nrx_local_peaks (V, zeros (3, 0)), zeros (1, 0));

%!test
%! % 2-D maps: a 2-row list; a 3-row list whose z values convert to 1.
%! M = [1 7 7 2; 0 1 1 5; NaN 2 0 3];
%! assert (nrx_local_peaks (M, [1 1 2 3 3 2; 2 3 4 1 2 1]), [1 2 4 5]);
%! assert (nrx_local_peaks (M, [1 1 2 3; 2 3 4 1; 0.95 1.05 1 1.89]), [1 2 4]);
%! assert (nrx_local_peaks (M, [0.85 1 4 5 NaN; 2 2 1 1 1]), 2);
%! assert (nrx_local_peaks (M, zeros (2, 0)), zeros (1, 0));

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
%!error <^nrx_local_peaks: nrx_local_peaks: L must be 3xn \(or 2xn\) list of voxel coordinates$> idx = nrx_local_peaks (V, ones (5, 3))
%!error <^nrx_local_peaks: nrx_local_peaks: L must be 3xn \(or 2xn\) list of voxel coordinates$> idx = nrx_local_peaks (V(:, :, 1), ones (4, 2))
%!error <^nrx_local_peaks: nrx_local_peaks: z-coordinate must be 1 when using 3xn list with 2D map$> idx = nrx_local_peaks (V(:, :, 1), [1 1; 1 1; 1 1.9])
%!error <^nrx_local_peaks: nrx_local_peaks: z-coordinate must be 1 when using 3xn list with 2D map$> idx = nrx_local_peaks (V(:, :, 1), [1; 1; 0.5])
%!error <^nrx_local_peaks: nrx_local_peaks: z-coordinate must be 1 when using 3xn list with 2D map$> idx = nrx_local_peaks (V(:, :, 1), [1; 1; NaN])

% Sizes beyond the 32-bit range are refused, never truncated.
%!error <^nrx_local_peaks: nrx_local_peaks: VOL too large: dimensions and element count must fit in 32-bit integers$> idx = nrx_local_peaks (zeros (3e9, 0), L)
%!error <^nrx_local_peaks: nrx_local_peaks: L too large: dimensions and element count must fit in 32-bit integers$> idx = nrx_local_peaks (V, zeros (3, 0, 3e9))
