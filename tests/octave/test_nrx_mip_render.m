% Plug-in tests of nrx_mip_render, run through the host.

%!function p = drawn (mip)
%!  % Zero-based row, column and value of every non-zero pixel.
%!  [r, c, v] = find (mip);
%!  p = [r - 1, c - 1, v];
%!endfunction

%!test
%! % Built-in views: a point at the origin lands at rows/columns 125/89,
%! % 125/253 and 307/253; x = 10 is mirrored in view 1.
%! assert (drawn (nrx_mip_render (5, [0; 0; 0], [1 1 1 400 364])), [125 89 5; 125 253 5; 307 253 5]);
%! assert (drawn (nrx_mip_render (5, [10; 0; 0], [1 1 1 400 364])), [125 79 5; 125 253 5; 317 253 5]);

%!test
%! % Values in any shape; extents 2.5 (three pixels) and 0 (one); the larger
%! % value stays where points overlap, in either order.
%! loc = [0 0 0 1; 0 0 0 0; 0 0 0 0];
%! a = nrx_mip_render ([1 9; 4 2], loc, [2.5 0 0 400 364]);
%! b = nrx_mip_render ([2 4; 9 1], fliplr (loc), [2.5 0 0 400 364]);
%! assert (a, b);
%! assert (a(126, 88:91), [2 9 9 9]);
%! assert (nnz (a), 4 + 1 + 4);

%!test
%! % Given views and origins: DX = 4, DY = 3, DZ = 5 make a 7 x 9 matrix.
%! mip = nrx_mip_render (3, [1; -1; 4], [1 1 1 7 9], [4 3 5], [1 2 0]);
%! assert (drawn (mip), [1 0 3; 1 8 3; 5 8 3]);

%!test
%! % A 360 x 352 matrix takes the fixed layout unless the given views add
%! % up to it; there the rectangle starts at the truncated place.
%! assert (drawn (nrx_mip_render (5, [2.5; 0; 0], [1 1 1 360 352], [10 10 10], [0 0 0])),
%!         [124 102 5; 124 238 5; 278 238 5]);
%! assert (drawn (nrx_mip_render (5, [0; 0; 0], [1 1 1 360 352], [152 208 200], [1 1 1])),
%!         [1 1 5; 1 153 5; 209 153 5]);

%!test
%! % No points give an all-zero matrix; points outside every view or with
%! % coordinates that are not finite draw nothing.
%! assert (nrx_mip_render (zeros (1, 0), zeros (3, 0), [1 1 1 400 364]), zeros (400, 364));
%! assert (nrx_mip_render ([5 5 5], [NaN 0 1e10; 0 Inf 0; 0 0 0], [1 1 1 360 352]), zeros (360, 352));
%! assert (nnz (nrx_mip_render (5, [0; 0; 1e3], [1 1 1 400 364])), 1);

%!test
%! % A refused call hands back nothing.
%! mip = 7;
%! try
%!   mip = nrx_mip_render (5, [0; 0; 0], [1 1 1 400 365]);
%! catch
%! end
%! assert (mip, 7);

% Refusals, in the order the arguments are checked.
%!error <^nrx_mip_render: Incorrect usage\.$> nrx_mip_render (1, [0; 0; 0])
%!error <^nrx_mip_render: Incorrect usage\.$> nrx_mip_render (1, [0; 0; 0], [1 1 1 400 364], [182 218 182])
%!error <^nrx_mip_render: Incorrect usage\.$> [a, b] = nrx_mip_render (1, [0; 0; 0], [1 1 1 400 364])
%!error <^nrx_mip_render: Incorrect usage\.$> [a, b] = nrx_mip_render ("a", 2)
%!error <^nrx_mip_render: Arguments must be numeric, real, full and double\.$> nrx_mip_render (single (1), [0; 0; 0], [1 1 1 400 364])
%!error <^nrx_mip_render: Arguments must be numeric, real, full and double\.$> nrx_mip_render (1, [0; 0; 0] == 0, [1 1 1 400 364])
%!error <^nrx_mip_render: Arguments must be numeric, real, full and double\.$> nrx_mip_render (1, [0; 0; 0], complex ([1 1 1 400 364]))
%!error <^nrx_mip_render: Arguments must be numeric, real, full and double\.$> nrx_mip_render (1, [0; 0; 0], [1 1 1 400 364], [182 218 182], sparse ([89 125 71]))
%!error <^nrx_mip_render: Arguments must be numeric, real, full and double\.$> nrx_mip_render (1, [0; 0; 0], [1 1 1 400 364], "abc", [89 125 71])
%!error <^nrx_mip_render: Arguments must be numeric, real, full and double\.$> nrx_mip_render (1, [0 0 0], int32 ([1 1 1 400 364]))
%!error <^nrx_mip_render: Too many points: their number must fit in a 32-bit integer\.$> nrx_mip_render (zeros (3e9, 0), zeros (3, 0), [1 1 1 400 364])
%!error <^nrx_mip_render: Incompatible size for locations matrix\.$> nrx_mip_render (1, [0 0 0], [1 1 1 400 364])
%!error <^nrx_mip_render: Incompatible size for locations matrix\.$> nrx_mip_render (1:4, zeros (4, 3), [1 1 1 400 364])
%!error <^nrx_mip_render: Incompatible size for locations matrix\.$> nrx_mip_render (1:2, zeros (3, 3), [1])
%!error <^nrx_mip_render: Incompatible size for dimensions vector\.$> nrx_mip_render (1:3, zeros (3, 3), [1 1 1 400])
%!error <^nrx_mip_render: Incompatible size for dimensions vector\.$> nrx_mip_render (1, [0; 0; 0], [1 1 1 400 364 1], [1 2], [1 2])
%!error <^nrx_mip_render: Incompatible size for DXYZ vector\.$> nrx_mip_render (1, [0; 0; 0], [1 1 1 400 364], [182 218], [89 125])
%!error <^nrx_mip_render: Incompatible size for CXYZ vector\.$> nrx_mip_render (1, [0; 0; 0], [1 1 1 400 364], [182 218 182], [89 125 71 0])
%!error <^nrx_mip_render: Wrong sized MIP matrix$> nrx_mip_render (1, [0; 0; 0], [1 1 1 400 365])
%!error <^nrx_mip_render: Wrong sized MIP matrix$> nrx_mip_render (1, [0; 0; 0], [1 1 1 400 364], [182 218 NaN], [89 125 71])
%!error <^nrx_mip_render: Wrong sized MIP matrix$> nrx_mip_render (1, [0; 0; 0], [1 1 1 -3 364])
%!error <^nrx_mip_render: Wrong sized MIP matrix$> nrx_mip_render (1, [0; 0; 0], [1 1 1 400 NaN])
%!error <^nrx_mip_render: Wrong sized MIP matrix$> nrx_mip_render (1, [0; 0; 0], [1 1 1 3e9 1])
%!error <^nrx_mip_render: Wrong sized MIP matrix$> nrx_mip_render (1, [0; 0; 0], [1 1 1 1e5 1e5], [5e4 5e4 5e4], [0 0 0])
