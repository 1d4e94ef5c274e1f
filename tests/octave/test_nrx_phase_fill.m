% Plug-in tests of nrx_phase_fill, run through the host.

%!function [pm_out, w_out] = reference_fill (pm, wmap, kernel)
%!  pm_out = pm; w_out = wmap;
%!  for v = find (wmap == 0)'
%!    [e, u] = box_neighbours (size (pm), size (kernel), v);
%!    known = wmap(u) != 0;
%!    if (any (known))
%!      sum = 0;
%!      for t = find (known)'
%!        sum = sum + kernel(e(t)) * pm(u(t));
%!      end
%!      pm_out(v) = sum / nnz (known);
%!      w_out(v) = 1;
%!    end
%!  end
%!endfunction

%!shared pm, wmap
%! rand ("seed", 7);
%! pm = 6 * rand (6, 5, 4) - 3;
%! wmap = floor (3 * rand (6, 5, 4));   % a third empty
%! wmap(1:7:end) = NaN;                  % NaN and negative weights are known
%! wmap(2:11:end) = -1;

%!test
%! % Against the reference: odd, even and 2-D kernels on a 3-D map, and a
%! % 3-D kernel on a 2-D map.
%! pm0 = pm + 0; wmap0 = wmap + 0;
%! for kernel = {rand(3, 3, 3), rand(2, 4), rand(4, 1, 2), rand(1), rand(7, 2, 3)}
%!   [p, w] = nrx_phase_fill (pm, wmap, kernel{1});
%!   [rp, rw] = reference_fill (pm, wmap, kernel{1});
%!   assert_same_bits (p, rp);
%!   assert_same_bits (w, rw);
%! end
%! kernel = rand (3, 3, 3);
%! [p, w] = nrx_phase_fill (pm(:, :, 2), wmap(:, :, 2), kernel);
%! [rp, rw] = reference_fill (pm(:, :, 2), wmap(:, :, 2), kernel(:, :, 2));
%! assert_same_bits (p, rp);
%! assert_same_bits (w, rw);
%! assert_same_bits (pm, pm0);       % the inputs are never written
%! assert_same_bits (wmap, wmap0);

%!test
%! % Six face neighbours over 26 known voxels.
%! faces = zeros (3, 3, 3); faces([5 11 13 15 17 23]) = 1;
%! weights = ones (3, 3, 3); weights(14) = 0;
%! [p, w] = nrx_phase_fill (ones (3, 3, 3), weights, faces);
%! assert (p(14), 6 / 26);
%! assert (w(14), 1);

%!test
%! % A map without empty voxels, or a kernel without elements, changes nothing.
%! full = wmap; full(full == 0) = 0.5;
%! [p, w] = nrx_phase_fill (pm, full, ones (3, 3, 3));
%! assert_same_bits (p, pm);
%! assert_same_bits (w, full);
%! [p, w] = nrx_phase_fill (pm, wmap, zeros (0, 3));
%! assert_same_bits (p, pm);
%! assert_same_bits (w, wmap);

% Refusals, in the order the arguments are checked.
%!error <^nrx_phase_fill: usage: \[pm,wmap\] = nrx_phase_fill\(pm,wmap,kernel\)$> nrx_phase_fill ()
%!error <^nrx_phase_fill: nrx_phase_fill: 3 input arguments required$> [a, b] = nrx_phase_fill (1, 1)
%!error <^nrx_phase_fill: nrx_phase_fill: 2 output argument required$> a = nrx_phase_fill (single (1), 1, 1)
%!error <^nrx_phase_fill: nrx_phase_fill: 2 output argument required$> nrx_phase_fill (1, 1, 1)
%!error <^nrx_phase_fill: nrx_phase_fill: pm must be numeric, real, full and double$> [a, b] = nrx_phase_fill (single (1), single (1), 1)
%!error <^nrx_phase_fill: nrx_phase_fill: pm must be 2 or 3-dimensional$> [a, b] = nrx_phase_fill (ones (2, 2, 2, 2), single (1), 1)
%!error <^nrx_phase_fill: nrx_phase_fill: pm is too large: dimensions and element count must fit in 32-bit integers$> [a, b] = nrx_phase_fill (zeros (3e9, 0), single (1), 1)
%!error <^nrx_phase_fill: nrx_phase_fill: wmap must be numeric, real, full and double$> [a, b] = nrx_phase_fill (1, uint8 (1), single (1))
%!error <^nrx_phase_fill: nrx_phase_fill: pm and wmap must have same dimensionality$> [a, b] = nrx_phase_fill (ones (2, 2), ones (2, 2, 2), single (1))
%!error <^nrx_phase_fill: nrx_phase_fill: pm and wmap must have same size$> [a, b] = nrx_phase_fill (ones (2, 2), ones (2, 3), single (1))
%!error <^nrx_phase_fill: nrx_phase_fill: kernel must be numeric, real, full and double$> [a, b] = nrx_phase_fill (1, 1, single (1))
%!error <^nrx_phase_fill: nrx_phase_fill: kernel must be numeric, real, full and double$> [a, b] = nrx_phase_fill (1, 1, sparse (1))
%!error <^nrx_phase_fill: nrx_phase_fill: pm and kernel must have same dimensionality$> [a, b] = nrx_phase_fill (ones (2, 2, 2), ones (2, 2, 2), ones (3, 3, 3, 3))
%!error <^nrx_phase_fill: nrx_phase_fill: kernel is too large: dimensions and element count must fit in 32-bit integers$> [a, b] = nrx_phase_fill (1, 1, zeros (3e9, 0))
