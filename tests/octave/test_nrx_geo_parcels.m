% Plug-in tests of nrx_geo_parcels, run through the host.

%!shared U, cube
%! U = [1 1 1; 0 0 1; 1 1 1];    % a U: x down the rows, y along the columns
%! cube = ones (3, 3, 3);

%!test
%! % City-block lengths along the mask with "d4", labels first.
%! [labels, dists] = nrx_geo_parcels (U, [1 1 1], "d4");
%! assert (dists, [0 1 2; -1 -1 3; 6 5 4]);
%! assert (labels, [1 1 1; -1 -1 1; 1 1 1]);

%!test
%! % "d34" is the default: faces 3, edges 4, corners 5.
%! [labels, dists] = nrx_geo_parcels (cube, [2 2 2]);
%! [l34, d34] = nrx_geo_parcels (cube, [2 2 2], "d34");
%! assert (dists, d34);
%! assert (labels, ones (3, 3, 3));
%! assert ([dists(2,2,2) dists(1,2,2) dists(1,1,2) dists(1,1,1) dists(3,3,3)], [0 3 4 5 5]);

%!test
%! % Seeds are rows: the first seed listed takes a voxel both reach equally.
%! assert (nrx_geo_parcels (ones (1, 3), [1 1 1; 1 3 1], "d4"), [1 1 2]);
%! assert (nrx_geo_parcels (ones (1, 3), [1 3 1; 1 1 1], "d4"), [2 1 1]);
%! % No seeds: inside Inf and NaN, outside -1.
%! [labels, dists] = nrx_geo_parcels ([2 -1 NaN 4], zeros (0, 3));
%! assert (dists, [Inf -1 -1 Inf]);
%! assert (labels, [NaN -1 -1 NaN]);

%!test
%! % With no output nothing is returned.
%! clear ans
%! nrx_geo_parcels (cube, [1 1 1]);
%! assert (! exist ("ans", "var"));

% Refusals, in the order the arguments are checked.
%!error <^nrx_geo_parcels: Not enough input arguments\.$> nrx_geo_parcels (U)
%!error <^nrx_geo_parcels: Not enough input arguments\.$> [a, b, c] = nrx_geo_parcels (U)
%!error <^nrx_geo_parcels: Too many input arguments\.$> nrx_geo_parcels (U, [1 1 1], "d4", 1)
%!error <^nrx_geo_parcels: Too many output arguments\.$> [a, b, c] = nrx_geo_parcels (U, [1 1 1])
%!error <^nrx_geo_parcels: Input img must be a real double array\.$> nrx_geo_parcels (single (U), [1 1 1])
%!error <^nrx_geo_parcels: Input img must be a real double array\.$> nrx_geo_parcels (complex (U), [1 1 1])
%!error <^nrx_geo_parcels: Input img must be a real double array\.$> nrx_geo_parcels (sparse (U), [1 1 1])
%!error <^nrx_geo_parcels: Input img must be a real double array\.$> nrx_geo_parcels (logical (U), [1 1 1])
%!error <^nrx_geo_parcels: Input img must be a real double array\.$> nrx_geo_parcels (ones (2, 2, 2, 2), single ([1 1 1]), 3)
%!error <^nrx_geo_parcels: Input seeds must be a real double array \[n x 3\]\.$> nrx_geo_parcels (U, single ([1 1 1]))
%!error <^nrx_geo_parcels: Input seeds must be a real double array \[n x 3\]\.$> nrx_geo_parcels (U, complex ([1 1 1]))
%!error <^nrx_geo_parcels: Input seeds must be a real double array \[n x 3\]\.$> nrx_geo_parcels (U, sparse ([1 1 1]))
%!error <^nrx_geo_parcels: Input seeds must be a real double array \[n x 3\]\.$> nrx_geo_parcels (U, [1 1 1]')
%!error <^nrx_geo_parcels: Input seeds must be a real double array \[n x 3\]\.$> nrx_geo_parcels (U, ones (1, 3, 2), 3)
%!error <^nrx_geo_parcels: Input dist must be a string\.$> nrx_geo_parcels (U, [1 1 1], 34)
%!error <^nrx_geo_parcels: Unknown distance type\.$> nrx_geo_parcels (U, [1 1 1], "D34")
%!error <^nrx_geo_parcels: Unknown distance type\.$> nrx_geo_parcels (U, [1 1 1], "d34 ")
%!error <^nrx_geo_parcels: Unknown distance type\.$> nrx_geo_parcels (U, [1 1 1], "")
%!error <^nrx_geo_parcels: Unknown distance type\.$> nrx_geo_parcels (U, [9 9 9], "euclidean")
%!error <^nrx_geo_parcels: A seed appears to be outside image\.$> nrx_geo_parcels (U, [1 1 1; 0.49 1 1])
%!error <^nrx_geo_parcels: A seed appears to be outside image\.$> nrx_geo_parcels (U, [3.5 1 1])
%!error <^nrx_geo_parcels: A seed appears to be outside image\.$> nrx_geo_parcels (U, [1 1 1.5])
%!error <^nrx_geo_parcels: A seed appears to be outside image\.$> nrx_geo_parcels (U, [NaN 1 1])
%!error <^nrx_geo_parcels: A seed appears to be outside image\.$> nrx_geo_parcels (U, [1 -Inf 1])
%!error <^nrx_geo_parcels: A seed appears to be outside image\.$> nrx_geo_parcels (U, [1 1 5e9])
%!error <^nrx_geo_parcels: A seed appears to be outside image\.$> nrx_geo_parcels (zeros (0, 3), [1 1 1])

% Sizes beyond the 32-bit range are refused, never truncated.
%!error <^nrx_geo_parcels: Input img too large: dimensions and element count must fit in 32-bit integers\.$> nrx_geo_parcels (zeros (3e9, 0), [1 1 1])
