% Plug-in tests of nrx_morphology, run through the host.

%!shared A, K3
%! A = reshape (1:24, 2, 3, 4);
%! K3 = ones (3, 3, 3);

%!test
%! % 3 x 3 ones: the maximum and minimum filters, borders from what exists;
%! % the image itself is not changed.
%! M = magic (4);
%! assert (nrx_morphology (M, ones (3), "dilate"), [16 16 13 13; 16 16 13 13; 14 15 15 15; 14 15 15 15]);
%! assert (nrx_morphology (M, ones (3), "erode"), [2 2 2 3; 2 2 2 3; 4 4 1 1; 4 4 1 1]);
%! assert (M, magic (4));
%! % A 2 x 2 kernel covers offsets -1 and 0; a 4 x 4 x 1 kernel is 2-D.
%! assert (nrx_morphology (M, ones (2), "erode"), [16 2 2 3; 5 2 2 3; 5 5 6 6; 4 4 6 1]);
%! assert (nrx_morphology (M, ones (4, 4, 1), "erode"), [2 2 2 2; 2 2 2 2; 2 2 1 1; 4 4 1 1]);
%! % 3-D: the corner voxel sees its 2 x 2 x 2 block.
%! D = nrx_morphology (A, K3, "dilate");
%! assert (size (D), [2 3 4]);
%! assert ([D(1, 1, 1) D(2, 3, 4)], [10 24]);

%!test
%! % Weights scale the neighbours; NaN follows the comparison.
%! assert (nrx_morphology ([3 -2 0.5 -1], 2, "dilate"), [6 -2 1 -1]);
%! assert (nrx_morphology ([1 NaN 0], [1 1 1], "dilate"), [NaN 0 0]);
%! assert (nrx_morphology ([1 NaN 0], [1 1 1], "erode"), [1 NaN 0]);
%! assert (nrx_morphology (zeros (0, 3), ones (3), "erode"), zeros (0, 3));

% Refusals, in the order the arguments are checked.
%!error <^nrx_morphology: Not enough input arguments\.$> nrx_morphology (A, K3)
%!error <^nrx_morphology: Not enough input arguments\.$> [a, b] = nrx_morphology (A, K3)
%!error <^nrx_morphology: Too many input arguments\.$> nrx_morphology (A, K3, "dilate", 1)
%!error <^nrx_morphology: Not enough output arguments$> nrx_morphology (A, K3, "dilate")
%!error <^nrx_morphology: Too many output arguments\.$> [a, b] = nrx_morphology (A, K3, "dilate")
%!error <^nrx_morphology: nrx_morphology: ima must be numeric, real, full and double$> o = nrx_morphology (single (A), K3, "dilate")
%!error <^nrx_morphology: nrx_morphology: ima must be numeric, real, full and double$> o = nrx_morphology (complex (A), K3, "dilate")
%!error <^nrx_morphology: nrx_morphology: ima must be numeric, real, full and double$> o = nrx_morphology (sparse (A(:, :, 1)), K3, "dilate")
%!error <^nrx_morphology: nrx_morphology: ima must be numeric, real, full and double$> o = nrx_morphology ("abc", 1, 2)
%!error <^nrx_morphology: nrx_morphology: ima must be 2 or 3-dimensional$> o = nrx_morphology (ones (2, 2, 2, 2), 1, 2)
%!error <^nrx_morphology: nrx_morphology: kernel must be numeric, real, full and double$> o = nrx_morphology (A, single (K3), "dilate")
%!error <^nrx_morphology: nrx_morphology: kernel must be numeric, real, full and double$> o = nrx_morphology (A, true (3, 3, 3), 2)
%!error <^nrx_morphology: nrx_morphology: ima and kernel must have same dimensionality$> o = nrx_morphology (A, ones (3), "dilate")
%!error <^nrx_morphology: nrx_morphology: ima and kernel must have same dimensionality$> o = nrx_morphology (ones (3), ones (3, 3, 3), 2)
%!error <^nrx_morphology: nrx_morphology: function should be a string$> o = nrx_morphology (A, K3, 1)
%!error <^nrx_morphology: nrx_morphology: function should be a string$> o = nrx_morphology (A, K3, ["dilate"; "erode "])
%!error <^nrx_morphology: nrx_morphology: function should be a string$> o = nrx_morphology (A, K3, "")
%!error <^nrx_morphology: nrx_morphology: function must have value 'dilate' or 'erode'$> o = nrx_morphology (A, K3, "Dilate")
%!error <^nrx_morphology: nrx_morphology: function must have value 'dilate' or 'erode'$> o = nrx_morphology (A, K3, "dilate ")
%!error <^nrx_morphology: nrx_morphology: function must have value 'dilate' or 'erode'$> o = nrx_morphology (A, K3, "ero")
%!error <^nrx_morphology: nrx_morphology: function must have value 'dilate' or 'erode'$> o = nrx_morphology (A, K3, char (zeros (1, 0)))

% Sizes beyond the 32-bit range are refused, never truncated.
%!error <^nrx_morphology: nrx_morphology: ima too large: dimensions and element count must fit in 32-bit integers$> o = nrx_morphology (zeros (3e9, 0), 1, "erode")
%!error <^nrx_morphology: nrx_morphology: kernel too large: dimensions and element count must fit in 32-bit integers$> o = nrx_morphology (1, zeros (3e9, 0), "erode")
