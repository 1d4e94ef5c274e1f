% Plug-in tests of nrx_ramp_fit, run through the host.

%!shared pm, mask, I
%! % A wrapped ramp of 0.1 rad per voxel along the first axis, 8 x 8 x 8.
%! [I, J, K] = ndgrid (0:7, 0:7, 0:7);
%! pm = rem (3 + 0.1 * I + pi, 2 * pi) - pi;
%! mask = ones (8, 8, 8);

%!test
%! % The ramp is recovered; the ramp-free map is constant up to whole turns.
%! pm0 = pm + 0; mask0 = mask + 0;
%! [ramp, flat] = nrx_ramp_fit (pm, mask);
%! assert (size (ramp), [3 1]);
%! assert (ramp(1), 0.1, 1e-14);
%! assert_same_bits (ramp(2:3), [0; 0]);
%! assert (size (flat), [8 8 8]);
%! assert_same_bits (flat, pm - ramp(1) * (I - 3.5));
%! turns = (flat - flat(1)) / (2 * pi);
%! assert (turns, round (turns), 1e-12);
%! assert_same_bits (pm, pm0);        % the inputs are never written
%! assert_same_bits (mask, mask0);

%!test
%! % A 2-D map: third ramp exactly 0 and a 2-D result.
%! [ramp, flat] = nrx_ramp_fit (pm(:, :, 1)', mask(:, :, 1));
%! assert (ramp(1), 0, 0);
%! assert (ramp(2), 0.1, 1e-14);
%! assert_same_bits (ramp(3), 0);
%! assert (size (flat), [8 8]);

%!test
%! % An empty mask gives (NaN, NaN, 0) and the map unchanged; a NaN mask
%! % value counts as inside, -0 as outside.
%! [ramp, flat] = nrx_ramp_fit (pm, -zeros (8, 8, 8));
%! assert (isnan (ramp(1:2)));
%! assert_same_bits (ramp(3), 0);
%! assert_same_bits (flat, pm);
%! m = zeros (8, 8, 8); m(:, 2, 3) = NaN;
%! [ramp, flat] = nrx_ramp_fit (pm, m);
%! assert (ramp(1), 0.1, 1e-14);
%! assert (isnan (ramp(2)));     % no pair along the second axis
%! assert (all (isnan (flat(:, 2, 3))));
%! flat(:, 2, 3) = pm(:, 2, 3);
%! assert_same_bits (flat, pm);

%!test
%! % Differences of exactly pi, of 3.2 and of infinity.
%! [ramp, ~] = nrx_ramp_fit ([0; 3.14159265358979], [1; 1]);
%! assert_same_bits (ramp(1), 3.14159265358979);
%! [ramp, flat] = nrx_ramp_fit ([0; 3.2], [1; 1]);
%! assert_same_bits (ramp(1), 3.2 - 6.28318530717958);
%! [ramp, flat] = nrx_ramp_fit ([1; Inf; 2], [1; 1; 0]);
%! assert (isnan (ramp(1)));
%! assert (isnan (flat(1:2)));
%! assert (flat(3), 2);

%!test
%! % Empty maps are handled, and a refused call leaves its inputs alone.
%! [ramp, flat] = nrx_ramp_fit (zeros (0, 3), zeros (0, 3));
%! assert (isnan (ramp(1:2)));
%! assert (size (flat), [0 3]);
%! pm0 = pm + 0;
%! try
%!   [ramp, flat] = nrx_ramp_fit (pm, single (mask));
%! catch
%! end
%! assert_same_bits (pm, pm0);

% Refusals, in the order the arguments are checked.
%!error <^nrx_ramp_fit: usage: \[ramp,pm\] = nrx_ramp_fit\(pm,mask\)$> nrx_ramp_fit ()
%!error <^nrx_ramp_fit: usage: \[ramp,pm\] = nrx_ramp_fit\(pm,mask\)$> [a, b, c] = nrx_ramp_fit ()
%!error <^nrx_ramp_fit: nrx_ramp_fit: 2 input arguments required$> [a, b] = nrx_ramp_fit (1)
%!error <^nrx_ramp_fit: nrx_ramp_fit: 2 input arguments required$> r = nrx_ramp_fit (1, 2, 3)
%!error <^nrx_ramp_fit: nrx_ramp_fit: 2 output arguments required$> r = nrx_ramp_fit (single (1), 1)
%!error <^nrx_ramp_fit: nrx_ramp_fit: 2 output arguments required$> nrx_ramp_fit (1, 1)
%!error <^nrx_ramp_fit: nrx_ramp_fit: 2 output arguments required$> [a, b, c] = nrx_ramp_fit (1, 1)
%!error <^nrx_ramp_fit: nrx_ramp_fit: pm must be numeric, real, full and double$> [a, b] = nrx_ramp_fit (single (1), single (1))
%!error <^nrx_ramp_fit: nrx_ramp_fit: pm must be numeric, real, full and double$> [a, b] = nrx_ramp_fit (true (2), 1)
%!error <^nrx_ramp_fit: nrx_ramp_fit: pm must be numeric, real, full and double$> [a, b] = nrx_ramp_fit (int16 (2), 1)
%!error <^nrx_ramp_fit: nrx_ramp_fit: pm must be numeric, real, full and double$> [a, b] = nrx_ramp_fit ([1 2i], 1)
%!error <^nrx_ramp_fit: nrx_ramp_fit: pm must be numeric, real, full and double$> [a, b] = nrx_ramp_fit (sparse ([1 2]), 1)
%!error <^nrx_ramp_fit: nrx_ramp_fit: pm must be numeric, real, full and double$> [a, b] = nrx_ramp_fit ("ab", 1)
%!error <^nrx_ramp_fit: nrx_ramp_fit: pm must be 2 or 3-dimensional$> [a, b] = nrx_ramp_fit (ones (2, 2, 2, 2), single (1))
%!error <^nrx_ramp_fit: nrx_ramp_fit: pm is too large: dimensions and element count must fit in 32-bit integers$> [a, b] = nrx_ramp_fit (zeros (3e9, 0), single (1))
%!error <^nrx_ramp_fit: nrx_ramp_fit: mask must be numeric, real, full and double$> [a, b] = nrx_ramp_fit (ones (2), single (ones (2)))
%!error <^nrx_ramp_fit: nrx_ramp_fit: mask must be numeric, real, full and double$> [a, b] = nrx_ramp_fit (ones (2), sparse (ones (2)))
%!error <^nrx_ramp_fit: nrx_ramp_fit: pm and mask must have same dimensionality$> [a, b] = nrx_ramp_fit (ones (2, 2, 2), ones (2))
%!error <^nrx_ramp_fit: nrx_ramp_fit: pm and mask must have same size$> [a, b] = nrx_ramp_fit (ones (2, 3), ones (3, 2))
%!error <^nrx_ramp_fit: nrx_ramp_fit: pm and mask must have same size$> [a, b] = nrx_ramp_fit (ones (2, 3, 4), ones (2, 3, 5))
