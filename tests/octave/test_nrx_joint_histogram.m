% Plug-in tests of nrx_joint_histogram, run through the host.

%!shared V, W, R
%! rand ("seed", 5);
%! V = uint8 (255 * rand (12, 10, 8));
%! W = uint8 (255 * rand (9, 11, 7));
%! R = [cos(0.2) -sin(0.2) 0 1.5; sin(0.2) cos(0.2) 0 -0.5; 0 0 1 0.25; 0 0 0 1];

%!test
%! % The same volume twice under the identity: every grid point (1 to d - 2
%! % along each axis) is counted,
%! % in the column of its rounded value and split between the rows just
%! % below and above that value.
%! H = nrx_joint_histogram (V, V, eye (4));
%! assert (size (H), [256 256]);
%! assert (sum (H(:)), 10 * 8 * 6);
%! [r, c] = find (H);
%! assert (all (abs (r - c) <= 1));

%!test
%! % Same arguments, same histogram; skips as a row or a column; unit skips
%! % by default; M read as 16 numbers even when given as 4 x 2 x 2.
%! H = nrx_joint_histogram (V, W, R, [1 1.5 2]);
%! assert (any (H(:)));
%! assert (nrx_joint_histogram (V, W, R, [1 1.5 2]), H);
%! assert (nrx_joint_histogram (V, W, R, [1; 1.5; 2]), H);
%! assert (nrx_joint_histogram (V, W, R), nrx_joint_histogram (V, W, R, [1 1 1]));
%! assert (nrx_joint_histogram (V, W, reshape (R, 4, 2, 2)), nrx_joint_histogram (V, W, R));

%!test
%! % With no output requested the histogram is still made and returned.
%! nrx_joint_histogram (V, W, R);
%! assert (ans, nrx_joint_histogram (V, W, R));

%!test
%! % Grids without points, maps that send every point outside or to NaN,
%! % and infinite skips all give an empty histogram.
%! assert (nrx_joint_histogram (zeros (2, 5, 5, "uint8"), V, eye (4)), zeros (256));
%! assert (nrx_joint_histogram (V, V, eye (4), [1 9 1]), zeros (256));
%! assert (nrx_joint_histogram (V, V, [eye(3) [12; 0; 0]; 0 0 0 1]), zeros (256));
%! assert (nrx_joint_histogram (V, V, NaN (4)), zeros (256));
%! assert (nrx_joint_histogram (V, V, eye (4), [Inf 1 1]), zeros (256));
%! assert (nrx_joint_histogram (zeros (0, 3, 3, "uint8"), V, eye (4)), zeros (256));

%!test
%! % A refused call hands back nothing.
%! H = 7;
%! try
%!   H = nrx_joint_histogram (V, V, eye (4), [1 0 1]);
%! catch
%! end
%! assert (H, 7);

% Refusals, in the order the arguments are checked.
%!error <^nrx_joint_histogram: Incorrect usage\.$> nrx_joint_histogram (V, V)
%!error <^nrx_joint_histogram: Incorrect usage\.$> nrx_joint_histogram (V, V, eye (4), [1 1 1], 1)
%!error <^nrx_joint_histogram: Incorrect usage\.$> [a, b] = nrx_joint_histogram (V, V, eye (4))
%!error <^nrx_joint_histogram: Incorrect usage\.$> [a, b] = nrx_joint_histogram (1, 2, 3)
%!error <^nrx_joint_histogram: Wrong sort of data \(1\)\.$> nrx_joint_histogram (double (V), V, eye (4))
%!error <^nrx_joint_histogram: Wrong sort of data \(1\)\.$> nrx_joint_histogram (sparse (double (V(:, :, 1))), V, eye (4))
%!error <^nrx_joint_histogram: Wrong sort of data \(1\)\.$> nrx_joint_histogram (V > 100, V, eye (4))
%!error <^nrx_joint_histogram: Wrong sort of data \(1\)\.$> nrx_joint_histogram (single (V), single (V), eye (3))
%!error <^nrx_joint_histogram: Wrong number of dims \(1\)\.$> nrx_joint_histogram (V(:, :, 1), V, eye (4))
%!error <^nrx_joint_histogram: Wrong number of dims \(1\)\.$> nrx_joint_histogram (ones (2, 2, 2, 2, "uint8"), V, eye (4))
%!error <^nrx_joint_histogram: Wrong number of dims \(1\)\.$> nrx_joint_histogram (V(:, :, 1), single (V), eye (3))
%!error <^nrx_joint_histogram: Volume too large \(1\): dimensions and element count must fit in 32-bit integers\.$> nrx_joint_histogram (zeros (3e9, 0, 2, "uint8"), V, eye (4))
%!error <^nrx_joint_histogram: Wrong sort of data \(2\)\.$> nrx_joint_histogram (V, single (V), eye (4))
%!error <^nrx_joint_histogram: Wrong sort of data \(2\)\.$> nrx_joint_histogram (V, sparse (double (V(:, :, 1))), eye (4))
%!error <^nrx_joint_histogram: Wrong number of dims \(2\)\.$> nrx_joint_histogram (V, V(:, :, 1), eye (4))
%!error <^nrx_joint_histogram: Wrong number of dims \(2\)\.$> nrx_joint_histogram (V, V(:, :, 1), eye (3))
%!error <^nrx_joint_histogram: Volume too large \(2\): dimensions and element count must fit in 32-bit integers\.$> nrx_joint_histogram (V, zeros (2, 3e9, 0, "uint8"), eye (4))
%!error <^nrx_joint_histogram: Wrong sort of matrix\.$> nrx_joint_histogram (V, V, single (eye (4)))
%!error <^nrx_joint_histogram: Wrong sort of matrix\.$> nrx_joint_histogram (V, V, complex (eye (4)))
%!error <^nrx_joint_histogram: Wrong sort of matrix\.$> nrx_joint_histogram (V, V, sparse (eye (4)))
%!error <^nrx_joint_histogram: Wrong sort of matrix\.$> nrx_joint_histogram (V, V, "abc", [1 1 1 1])
%!error <^nrx_joint_histogram: Matrix must be 4x4\.$> nrx_joint_histogram (V, V, eye (3))
%!error <^nrx_joint_histogram: Matrix must be 4x4\.$> nrx_joint_histogram (V, V, ones (4, 5))
%!error <^nrx_joint_histogram: Matrix must be 4x4\.$> nrx_joint_histogram (V, V, eye (3), [1 1 1 1])
%!error <^nrx_joint_histogram: Invalid skips\.$> nrx_joint_histogram (V, V, eye (4), [1 1 1 1])
%!error <^nrx_joint_histogram: Invalid skips\.$> nrx_joint_histogram (V, V, eye (4), single ([1 1 1]))
%!error <^nrx_joint_histogram: Invalid skips\.$> nrx_joint_histogram (V, V, eye (4), complex ([1 1 1]))
%!error <^nrx_joint_histogram: Invalid skips\.$> nrx_joint_histogram (V, V, eye (4), sparse ([1 1 1]))
%!error <^nrx_joint_histogram: Invalid skips\.$> nrx_joint_histogram (V, V, eye (4), [1 0 1])
%!error <^nrx_joint_histogram: Invalid skips\.$> nrx_joint_histogram (V, V, eye (4), [1 1 -2])
%!error <^nrx_joint_histogram: Invalid skips\.$> nrx_joint_histogram (V, V, eye (4), [NaN 1 1])
%!error <^nrx_joint_histogram: Invalid skips\.$> nrx_joint_histogram (V, V, eye (4), [1e-7 1 1])
