% Plug-in tests of nrx_morphology, run through the host.

%!function out = reference_morph (ima, kernel, dilate)
%!  % Voxel by voxel, kernel elements in the order kx, ky, kz (kz fastest).
%!  out = ima;
%!  sz = [size(ima) 1](1:3);
%!  ks = [size(kernel) 1](1:3);
%!  c0 = floor (ks / 2);
%!  for x = 1:sz(1), for y = 1:sz(2), for z = 1:sz(3)
%!    r = out(x, y, z);
%!    for kx = 1:ks(1), for ky = 1:ks(2), for kz = 1:ks(3)
%!      n = [x y z] + [kx ky kz] - 1 - c0;
%!      w = kernel(kx, ky, kz);
%!      if (any (n < 1) || any (n > sz) || w == 0) continue; end
%!      p = w * ima(n(1), n(2), n(3));
%!      if (dilate && ! (r > p)) || (! dilate && r > p)
%!        r = p;
%!      end
%!    end, end, end
%!    out(x, y, z) = r;
%!  end, end, end
%!endfunction

%!shared A, K3
%! rand ("seed", 8);
%! A = 4 * rand (6, 5, 4) - 1;
%! A([3 17 40 77]) = NaN;
%! K3 = floor (3 * rand (3, 2, 4)) - 0.5;
%! K3([2 9]) = 0;
%! K3(5) = NaN;

%!test
%! % NaN images, NaN and zero weights, even kernel sizes: the reference.
%! A0 = A;
%! assert (nrx_morphology (A, K3, "dilate"), reference_morph (A, K3, true));
%! assert (nrx_morphology (A, K3, "erode"), reference_morph (A, K3, false));
%! assert (nrx_morphology (A, ones (3, 3, 3), "dilate"), reference_morph (A, ones (3, 3, 3), true));
%! assert (A, A0);

%!test
%! % 3 x 3 ones: the maximum and minimum filters, borders from what exists.
%! M = magic (4);
%! assert (nrx_morphology (M, ones (3), "dilate"), [16 16 13 13; 16 16 13 13; 14 15 15 15; 14 15 15 15]);
%! assert (nrx_morphology (M, ones (3), "erode"), [2 2 2 3; 2 2 2 3; 4 4 1 1; 4 4 1 1]);
%! % A 2 x 2 kernel covers offsets -1 and 0.
%! assert (nrx_morphology (M, ones (2), "erode"), [16 2 2 3; 5 2 2 3; 5 5 6 6; 4 4 6 1]);
%! % A 2-D image with a 4 x 4 x 1 kernel (reported 2-D) is accepted.
%! assert (nrx_morphology (M, ones (4, 4, 1), "dilate"), reference_morph (M, ones (4), true));

%!test
%! % Weight 2 doubles positive voxels in dilation, negative ones in erosion;
%! % an all-zero kernel changes nothing.
%! v = [3 -2 0.5 -1];
%! assert (nrx_morphology (v, 2, "dilate"), [6 -2 1 -1]);
%! assert (nrx_morphology (v, 2, "erode"), [3 -4 0.5 -2]);
%! assert (nrx_morphology (v, zeros (3), "dilate"), v);
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
