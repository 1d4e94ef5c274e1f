% Plug-in tests of nrx_warp_affine, run through the host.

%!function [x, y, z] = expected_transform (x, y, z, M)
%!  % Double numerators, denominator rounded to single, quotients rounded to single.
%!  x = double (x); y = double (y); z = double (z);
%!  w = double (single (x*M(4,1) + y*M(4,2) + z*M(4,3) + M(4,4)));
%!  [x, y, z] = deal (single ((x*M(1,1) + y*M(1,2) + z*M(1,3) + M(1,4)) ./ w),
%!                    single ((x*M(2,1) + y*M(2,2) + z*M(2,3) + M(2,4)) ./ w),
%!                    single ((x*M(3,1) + y*M(3,2) + z*M(3,3) + M(3,4)) ./ w));
%!endfunction

%!function assert_bits (a, b)
%!  assert (size (a), size (b));
%!  assert (typecast (a(:), "uint32"), typecast (b(:), "uint32"));
%!endfunction

%!shared M, X, Y, Z
%! rand ("seed", 3);
%! M = [0.9 -0.2 0.1 5; 0.3 1.1 0 -2.5; 0.05 0.1 0.95 1; 0.001 -0.002 0.0005 1.1];
%! X = single (200 * rand (5, 4, 3) - 100);
%! Y = single (200 * rand (5, 4, 3) - 100);
%! Z = single (200 * rand (5, 4, 3) - 100);

%!test
%! % The caller's arrays are overwritten with bit-exact results.
%! x = X + 0; y = Y + 0; z = Z + 0;   % own copies, not shared with X, Y, Z
%! nrx_warp_affine (x, y, z, M);
%! [ex, ey, ez] = expected_transform (X, Y, Z, M);
%! assert_bits (x, ex);
%! assert_bits (y, ey);
%! assert_bits (z, ez);

%!test
%! % Identity: finite values kept, -0 becomes +0, an infinite component NaNs the point.
%! x = single ([1.5 -0 Inf]); y = single ([2 3 4]); z = single ([7 8 9]);
%! nrx_warp_affine (x, y, z, eye (4));
%! assert_bits (x(1:2), single ([1.5 0]));
%! assert (isnan ([x(3) y(3) z(3)]));
%! x = single ([2 -6]); y = single ([4 1]); z = single ([8 0.5]);
%! nrx_warp_affine (x, y, z, diag ([1 1 1 2]));
%! assert_bits ([x y z], single ([1 -3 2 0.5 4 0.25]));
%! x = single (0.1); y = single (0); z = single (0);
%! nrx_warp_affine (x, y, z, [eye(4)(1:3, :); 0 0 0 1] + [zeros(4, 3) [10; 0; 0; 0]]);
%! assert_bits (x, single (double (single (0.1)) + 10));

%!test
%! % One array given twice: old values are read first, the later store remains.
%! a = single ([1 2]); z = single ([10 20]);
%! nrx_warp_affine (a, a, z, [2 0 1 0; 0 3 1 0; 0 0 1 0; 0 0 0 1]);
%! assert (a, single ([13 26]));
%! assert (z, single ([10 20]));

%!test
%! % Empty fields change nothing and succeed.
%! e = zeros (0, 3, "single");
%! nrx_warp_affine (e, e, e, M);
%! assert (size (e), [0 3]);

%!test
%! % A refused call leaves every input as it was.
%! x = X + 0; y = Y + 0; z = Z + 0;
%! try
%!   r = nrx_warp_affine (x, y, z, M);
%! catch
%! end
%! assert_bits (x, X);
%! assert_bits (y, Y);
%! assert_bits (z, Z);

% Refusals, in the order the arguments are checked.
%!error <^nrx_warp_affine: Inappropriate usage\.$> nrx_warp_affine (X, Y, Z)
%!error <^nrx_warp_affine: Inappropriate usage\.$> r = nrx_warp_affine (X, Y, Z, M)
%!error <^nrx_warp_affine: Inappropriate usage\.$> r = nrx_warp_affine (1, 2, 3, 4)
%!error <^nrx_warp_affine: Data must be a single precision floating point multi-dimensional array\.$> nrx_warp_affine (double (X), Y, Z, M)
%!error <^nrx_warp_affine: Data must be a single precision floating point multi-dimensional array\.$> nrx_warp_affine (X, sparse (double (Y(:, :, 1))), Z, M)
%!error <^nrx_warp_affine: Too many dimensions in data\.$> nrx_warp_affine (single (ones (2, 2, 2, 2)), Y, Z, M)
%!error <^nrx_warp_affine: Incompatible dimensions\.$> nrx_warp_affine (single (ones (4, 5)), single (ones (5, 4)), single (ones (4, 5)), M)
%!error <^nrx_warp_affine: Incompatible dimensions\.$> nrx_warp_affine (X, Y, Z(:, :, 1:2), eye (3))
%!error <^nrx_warp_affine: Affine transform matrix must be 4x4\.$> nrx_warp_affine (X, Y, Z, eye (3))
%!error <^nrx_warp_affine: Affine transform matrix must be 4x4\.$> nrx_warp_affine (X, Y, Z, int32 (eye (4)))
%!error <^nrx_warp_affine: Data too large: dimensions and element count must fit in 32-bit integers\.$> nrx_warp_affine (zeros (3e9, 0, "single"), zeros (3e9, 0, "single"), zeros (3e9, 0, "single"), M)
