% Plug-in tests of nrx_warp_jacobian, run through the host.

%!shared M, Y1, Y2, Y3
%! % A rotation, scaling and translation of the voxel grid, and the field
%! % that carries every voxel to its own mapped position.
%! M = [1.2 0.3 0 -40.5; -0.2 0.9 0.1 12.25; 0 -0.15 2.1 7; 0 0 0 1];
%! [i, j, k] = ndgrid (0:6, 0:5, 0:4);
%! Y1 = single (M(1,1)*i + M(1,2)*j + M(1,3)*k + M(1,4));
%! Y2 = single (M(2,1)*i + M(2,2)*j + M(2,3)*k + M(2,4));
%! Y3 = single (M(3,1)*i + M(3,2)*j + M(3,3)*k + M(3,4));

%!test
%! [out, J] = evalc ("J = nrx_warp_jacobian (Y1, Y2, Y3, M);");
%! assert (out, "...\n");
%! assert (class (J), "single");
%! assert (size (J), [7 6 5]);
%! inner = J(2:end-1, 2:end-1, 2:end-1);
%! assert (double (inner), ones (size (inner)), 2e-4);
%! border = true (size (J));
%! border(2:end-1, 2:end-1, 2:end-1) = false;
%! assert (all (isnan (J(border))));

%!test
%! % Twice the mapped positions scale every volume by 8; swapping two
%! % components flips the orientation.
%! [~, J2] = evalc ("nrx_warp_jacobian (2*Y1, 2*Y2, 2*Y3, M)");
%! [~, Js] = evalc ("nrx_warp_jacobian (Y2, Y1, Y3, M)");
%! assert (double (J2(2:end-1, 2:end-1, 2:end-1)), 8 * ones (5, 4, 3), 2e-3);
%! assert (double (Js(2:end-1, 2:end-1, 2:end-1)), -ones (5, 4, 3), 2e-4);

%!test
%! % Without an interior: all NaN, dots only for planes 1 .. nz-2, always "\n".
%! [out, J] = evalc ("nrx_warp_jacobian (Y1(:,:,1), Y2(:,:,1), Y3(:,:,1), M)");
%! assert (out, "\n");
%! assert (size (J), [7 6]);
%! assert (all (isnan (J(:))));
%! [out, J] = evalc ("nrx_warp_jacobian (Y1(:,1:2,:), Y2(:,1:2,:), Y3(:,1:2,:), M)");
%! assert (out, "...\n");
%! assert (all (isnan (J(:))));

%!test
%! % With no output requested the result still goes to ans.
%! out = evalc ("nrx_warp_jacobian (Y1, Y2, Y3, M);");
%! assert (out, "...\n");
%! assert (size (ans), [7 6 5]);

%!test
%! % A zero 3x3 part makes every weight 0: all NaN, still a success.
%! [~, J] = evalc ("nrx_warp_jacobian (Y1, Y2, Y3, [0 0 0 1; 0 0 0 2; 0 0 0 3; 0 0 0 1])");
%! assert (all (isnan (J(:))));

%!test
%! % A trailing singleton fourth dimension is no dimension at all.
%! [~, J] = evalc ("nrx_warp_jacobian (reshape (Y1, [7 6 5 1]), Y2, Y3, M)");
%! assert (size (J), [7 6 5]);

% Refusals, in the order the arguments are checked.
%!error <^nrx_warp_jacobian: Inappropriate usage\.$> nrx_warp_jacobian (Y1, Y2, Y3)
%!error <^nrx_warp_jacobian: Inappropriate usage\.$> [a, b] = nrx_warp_jacobian (Y1, Y2, Y3, M)
%!error <^nrx_warp_jacobian: Inappropriate usage\.$> [a, b] = nrx_warp_jacobian (1, 2, 3)
%!error <^nrx_warp_jacobian: Data must be a single precision floating point multi-dimensional array\.$> nrx_warp_jacobian (double (Y1), Y2, Y3, M)
%!error <^nrx_warp_jacobian: Data must be a single precision floating point multi-dimensional array\.$> nrx_warp_jacobian (Y1, complex (Y2), Y3, M)
%!error <^nrx_warp_jacobian: Data must be a single precision floating point multi-dimensional array\.$> nrx_warp_jacobian (Y1, Y2, struct ("a", 1), M)
%!error <^nrx_warp_jacobian: Data must be a single precision floating point multi-dimensional array\.$> nrx_warp_jacobian (Y1, Y2, true (size (Y3)), M)
%!error <^nrx_warp_jacobian: Too many dimensions in data\.$> nrx_warp_jacobian (single (ones (3, 3, 3, 2)), Y2, Y3, M)
%!error <^nrx_warp_jacobian: Incompatible dimensions\.$> nrx_warp_jacobian (Y1, Y2(:, :, 1:4), Y3, M)
%!error <^nrx_warp_jacobian: Incompatible dimensions\.$> nrx_warp_jacobian (Y1, Y2, permute (Y3, [2 1 3]), M)
%!error <^nrx_warp_jacobian: Incompatible dimensions\.$> nrx_warp_jacobian (Y1, Y2(:, :, 1:4), double (Y3), M)
%!error <^nrx_warp_jacobian: Data must be a single precision floating point multi-dimensional array\.$> nrx_warp_jacobian (Y1, Y2, double (Y3), eye (3))
%!error <^nrx_warp_jacobian: Affine transform matrix must be 4x4\.$> nrx_warp_jacobian (Y1, Y2, Y3, [M; 0 0 0 1])
%!error <^nrx_warp_jacobian: Affine transform matrix must be 4x4\.$> nrx_warp_jacobian (Y1, Y2, Y3, eye (3))
%!error <^nrx_warp_jacobian: Affine transform matrix must be 4x4\.$> nrx_warp_jacobian (Y1, Y2, Y3, single (M))
%!error <^nrx_warp_jacobian: Affine transform matrix must be 4x4\.$> nrx_warp_jacobian (Y1, Y2, Y3, sparse (M))
%!error <^nrx_warp_jacobian: Affine transform matrix must be 4x4\.$> nrx_warp_jacobian (Y1, Y2, Y3, complex (M))
%!error <^nrx_warp_jacobian: No perspective projections allowed\.$> nrx_warp_jacobian (Y1, Y2, Y3, [M(1:3, :); 1e-300 0 0 1])
%!error <^nrx_warp_jacobian: No perspective projections allowed\.$> nrx_warp_jacobian (Y1, Y2, Y3, [M(1:3, :); 0 0 0 1.0000001])
%!error <^nrx_warp_jacobian: No perspective projections allowed\.$> nrx_warp_jacobian (Y1, Y2, Y3, [M(1:3, :); 0 0 NaN 1])

% Sizes beyond the 32-bit range are refused, never truncated.
%!error <^nrx_warp_jacobian: Data too large: dimensions and element count must fit in 32-bit integers\.$> nrx_warp_jacobian (zeros (3e9, 0, "single"), zeros (3e9, 0, "single"), zeros (3e9, 0, "single"), M)
%!error <^nrx_warp_jacobian: Data too large: dimensions and element count must fit in 32-bit integers\.$> nrx_warp_jacobian (Y1, zeros (0, 3e9, "single"), Y3, M)
