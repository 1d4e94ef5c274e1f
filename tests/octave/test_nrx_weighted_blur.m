% Plug-in tests of nrx_weighted_blur, run through the host.

%!function out = reference_blur (pm, wmap, kernel)
%!  out = pm;
%!  for v = 1:numel (pm)
%!    [e, u] = box_neighbours (size (pm), size (kernel), v);
%!    sum = total = 0;
%!    for t = 1:numel (u)
%!      w = kernel(e(t)) * wmap(u(t));
%!      sum = sum + w * pm(u(t));
%!      total = total + w;
%!    end
%!    if (total != 0)
%!      out(v) = sum / total;
%!    end
%!  end
%!endfunction

%!shared pm, wmap
%! rand ("seed", 9);
%! pm = 6 * rand (6, 5, 4) - 3;
%! wmap = rand (6, 5, 4) - 0.2;          % some negative weights
%! wmap(1:3:end) = 0;

%!test
%! % Against the reference: odd, even and 2-D kernels on a 3-D map, and a
%! % 3-D kernel on a 2-D map.
%! pm0 = pm + 0; wmap0 = wmap + 0;
%! for kernel = {rand(3, 3, 3), rand(2, 4), rand(4, 1, 2), rand(1), rand(7, 2, 3)}
%!   assert_same_bits (nrx_weighted_blur (pm, wmap, kernel{1}), reference_blur (pm, wmap, kernel{1}));
%! end
%! kernel = rand (3, 3, 3);
%! assert_same_bits (nrx_weighted_blur (pm(:, :, 2), wmap(:, :, 2), kernel),
%!              reference_blur (pm(:, :, 2), wmap(:, :, 2), kernel(:, :, 2)));
%! assert_same_bits (pm, pm0);       % the inputs are never written
%! assert_same_bits (wmap, wmap0);

%!test
%! % The box mean cut at the border; an even size 2 covers offsets -1 and 0.
%! assert (nrx_weighted_blur ([1 2 4], [2 2 2], ones (1, 3)), [6/4 14/6 12/4]);
%! assert (nrx_weighted_blur ([1 2 4], [1 1 1], [1 3]), [1 7/4 14/4]);
%! % A voxel of weight 0 takes its neighbours' mean.
%! assert (nrx_weighted_blur ([2 100 4], [1 0 1], ones (1, 3))(2), 3);

% Refusals, in the order the arguments are checked.
%!error <^nrx_weighted_blur: usage: pm = nrx_weighted_blur\(pm,wmap,kernel\)$> nrx_weighted_blur ()
%!error <^nrx_weighted_blur: nrx_weighted_blur: 3 input arguments required$> a = nrx_weighted_blur (1, 1, 1, 1)
%!error <^nrx_weighted_blur: nrx_weighted_blur: 1 output argument required$> nrx_weighted_blur (single (1), 1, 1)
%!error <^nrx_weighted_blur: nrx_weighted_blur: 1 output argument required$> [a, b] = nrx_weighted_blur (1, 1, 1)
%!error <^nrx_weighted_blur: nrx_weighted_blur: pm must be numeric, real, full and double$> a = nrx_weighted_blur ([1i 2], single (1), 1)
%!error <^nrx_weighted_blur: nrx_weighted_blur: pm must be 2 or 3-dimensional$> a = nrx_weighted_blur (ones (2, 2, 2, 2), single (1), 1)
%!error <^nrx_weighted_blur: nrx_weighted_blur: pm is too large: dimensions and element count must fit in 32-bit integers$> a = nrx_weighted_blur (zeros (0, 3e9), single (1), 1)
%!error <^nrx_weighted_blur: nrx_weighted_blur: wmap must be numeric, real, full and double$> a = nrx_weighted_blur (1, single (1), single (1))
%!error <^nrx_weighted_blur: nrx_weighted_blur: pm and wmap must have same dimensionality$> a = nrx_weighted_blur (ones (2, 2, 2), ones (2, 2), single (1))
%!error <^nrx_weighted_blur: nrx_weighted_blur: pm and wmap must have same size$> a = nrx_weighted_blur (ones (2, 2, 2), ones (2, 2, 3), single (1))
%!error <^nrx_weighted_blur: nrx_weighted_blur: kernel must be numeric, real, full and double$> a = nrx_weighted_blur (1, 1, true)
%!error <^nrx_weighted_blur: nrx_weighted_blur: pm and kernel must have same dimensionality$> a = nrx_weighted_blur (ones (2, 2), ones (2, 2), ones (1, 1, 1, 3))
%!error <^nrx_weighted_blur: nrx_weighted_blur: kernel is too large: dimensions and element count must fit in 32-bit integers$> a = nrx_weighted_blur (1, 1, zeros (0, 3e9))
