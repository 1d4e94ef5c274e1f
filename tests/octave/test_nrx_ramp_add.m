% Plug-in tests of nrx_ramp_add, run through the host.

%!shared pm, mask
%! rand ("seed", 5);
%! pm = 6 * rand (7, 6, 5) - 3;
%! mask = double (rand (7, 6, 5) > 0.3);
%! mask(1:5:end) = NaN;

%!test
%! % Adding the ramp nrx_ramp_fit removed gives its input map back.
%! [ramp, flat] = nrx_ramp_fit (pm, mask);
%! flat0 = flat + 0; mask0 = mask + 0; ramp0 = ramp + 0;
%! back = nrx_ramp_add (flat, mask, ramp);
%! assert (back, pm, 1e-14);
%! assert_same_bits (back(mask == 0), pm(mask == 0));
%! assert_same_bits (flat, flat0);     % the inputs are never written
%! assert_same_bits (mask, mask0);
%! assert_same_bits (ramp, ramp0);

%!test
%! % The terms are added in axis order about the grid centre, inside the mask.
%! [I, J, K] = ndgrid (0:6, 0:5, 0:4);
%! out = nrx_ramp_add (pm, mask, [0.3 -0.7 1.1]);
%! expected = ((pm + 0.3 * (I - 3)) + -0.7 * (J - 2.5)) + 1.1 * (K - 2);
%! expected(mask == 0) = pm(mask == 0);
%! assert_same_bits (out, expected);
%! assert_same_bits (nrx_ramp_add (pm, mask, [0.3; -0.7; 1.1]), out);

%!test
%! % A 2-D map uses gz only through gz * 0, so a NaN gz still spoils it.
%! p = pm(:, :, 1); m = mask(:, :, 1);
%! assert_same_bits (nrx_ramp_add (p, m, [0.2 0.1 5]), nrx_ramp_add (p, m, [0.2 0.1 0]));
%! out = nrx_ramp_add (p, m, [0 0 NaN]);
%! assert (size (out), size (p));
%! assert (isnan (out), m != 0);

%!test
%! % A refused call leaves its inputs alone.
%! pm0 = pm + 0;
%! try
%!   out = nrx_ramp_add (pm, mask, single ([1 2 3]));
%! catch
%! end
%! assert_same_bits (pm, pm0);

% Refusals, in the order the arguments are checked.
%!error <^nrx_ramp_add: usage: pm = nrx_ramp_add\(pm,mask,ramps\)$> nrx_ramp_add ()
%!error <^nrx_ramp_add: nrx_ramp_add: 3 input arguments required$> out = nrx_ramp_add (1, 1)
%!error <^nrx_ramp_add: nrx_ramp_add: 3 input arguments required$> nrx_ramp_add (1, 1, 1, 1)
%!error <^nrx_ramp_add: nrx_ramp_add: 1 output argument required$> nrx_ramp_add (single (1), 1, 1)
%!error <^nrx_ramp_add: nrx_ramp_add: 1 output argument required$> [a, b] = nrx_ramp_add (1, 1, [1 2 3])
%!error <^nrx_ramp_add: nrx_ramp_add: pm must be numeric, real, full and double$> out = nrx_ramp_add (single (1), single (1), 1)
%!error <^nrx_ramp_add: nrx_ramp_add: pm must be numeric, real, full and double$> out = nrx_ramp_add (uint8 (1), 1, [1 2 3])
%!error <^nrx_ramp_add: nrx_ramp_add: pm must be 2 or 3-dimensional$> out = nrx_ramp_add (ones (1, 1, 1, 2), single (1), 1)
%!error <^nrx_ramp_add: nrx_ramp_add: pm is too large: dimensions and element count must fit in 32-bit integers$> out = nrx_ramp_add (zeros (0, 3e9), single (1), 1)
%!error <^nrx_ramp_add: nrx_ramp_add: mask must be numeric, real, full and double$> out = nrx_ramp_add (1, true, 1)
%!error <^nrx_ramp_add: nrx_ramp_add: pm and mask must have same dimensionality$> out = nrx_ramp_add (ones (2, 2, 2), ones (2, 2), 1)
%!error <^nrx_ramp_add: nrx_ramp_add: pm and mask must have same size$> out = nrx_ramp_add (ones (2, 2), ones (2, 1), 1)
%!error <^nrx_ramp_add: nrx_ramp_add: ramps must be 3x1 or 1x3$> out = nrx_ramp_add (1, 1, single (ones (3)))
%!error <^nrx_ramp_add: nrx_ramp_add: ramps must be 3x1 or 1x3$> out = nrx_ramp_add (1, 1, [1 2 3 4])
%!error <^nrx_ramp_add: nrx_ramp_add: ramps must be 3x1 or 1x3$> out = nrx_ramp_add (1, 1, [1; 2])
%!error <^nrx_ramp_add: nrx_ramp_add: ramps must be 3x1 or 1x3$> out = nrx_ramp_add (1, 1, [])
%!error <^nrx_ramp_add: nrx_ramp_add: ramps must be numeric, real, full and double$> out = nrx_ramp_add (1, 1, single ([1 2 3]))
%!error <^nrx_ramp_add: nrx_ramp_add: ramps must be numeric, real, full and double$> out = nrx_ramp_add (1, 1, int32 ([1; 2; 3]))
%!error <^nrx_ramp_add: nrx_ramp_add: ramps must be numeric, real, full and double$> out = nrx_ramp_add (1, 1, logical ([1 0 1]))
%!error <^nrx_ramp_add: nrx_ramp_add: ramps must be numeric, real, full and double$> out = nrx_ramp_add (1, 1, [1 2 3i])
%!error <^nrx_ramp_add: nrx_ramp_add: ramps must be numeric, real, full and double$> out = nrx_ramp_add (1, 1, sparse ([1 2 3]))
%!error <^nrx_ramp_add: nrx_ramp_add: ramps must be numeric, real, full and double$> out = nrx_ramp_add (1, 1, {1, 2, 3})
