% Plug-in tests of nrx_label_relax, run through the host.

%!shared P, F, G, w, K
%! rand ("seed", 5);
%! K = 3;
%! P = uint8 (255 * rand (4, 3, 5, K));
%! F = single (rand (4, 3, 5, K));
%! G = single (4 * rand (K) - 2);
%! w = single ([0.5 1.25 2]);

%!test
%! % One output: a new array, the input untouched.
%! P0 = P + 0;
%! Q = nrx_label_relax (P, F, G, w);
%! assert (class (Q), "uint8");
%! assert (size (Q), size (P));
%! assert (P, P0);
%! assert (nrx_label_relax (P, F, G), nrx_label_relax (P, F, G, single ([1 1 1])));

%!test
%! % Each weight belongs to its own axis: with one non-zero weight, permuting
%! % the volume and the weights alike permutes the result (a pass reads only
%! % the other colour, and the parity of i+j+k does not change).
%! Q = nrx_label_relax (P, F, G, single ([2 0 0]));
%! assert (nrx_label_relax (permute (P, [2 1 3 4]), permute (F, [2 1 3 4]), G, single ([0 2 0])),
%!         permute (Q, [2 1 3 4]));
%! assert (nrx_label_relax (permute (P, [3 2 1 4]), permute (F, [3 2 1 4]), G, single ([0 0 2])),
%!         permute (Q, [3 2 1 4]));
%! assert (! isequal (Q, nrx_label_relax (P, F, G, single ([0 2 0]))));

%!test
%! % No output: the first argument itself is updated.
%! Q = nrx_label_relax (P, F, G, w);
%! mine = P + 0;
%! nrx_label_relax (mine, F, G, w);
%! assert (mine, Q);
%! assert (! isequal (P, Q));

%!test
%! % The five forms of G address the same couplings: a class vector as a
%! % diagonal matrix, a matrix repeated per voxel, a symmetric matrix with
%! % zero diagonal packed by pairs, and bytes as penalties of 1/16.
%! v = single ([1.5 -0.75 2]);
%! assert (nrx_label_relax (P, F, v'), nrx_label_relax (P, F, diag (v)));
%! perVoxel = repmat (reshape (G, [1 1 1 K K]), [4 3 5 1 1]);
%! assert (nrx_label_relax (P, F, perVoxel), nrx_label_relax (P, F, G));
%! B = uint8 (255 * rand (4, 3, 5, 3));        % pairs (1,2), (1,3), (2,3)
%! S = -single (B) / 16;
%! assert (nrx_label_relax (P, F, B), nrx_label_relax (P, F, S));
%! S2 = single ([0 1.5 -1; 1.5 0 0.25; -1 0.25 0]);
%! packed = repmat (reshape (S2([4 7 8]), [1 1 1 3]), [4 3 5 1]);
%! assert (nrx_label_relax (P, F, packed), nrx_label_relax (P, F, S2));
%! % A class vector may carry further singleton-free dimensions after the first.
%! assert (nrx_label_relax (P, F, repmat (v', [1 1 2])), nrx_label_relax (P, F, v'));

%!test
%! % One voxel: no neighbours, the likelihoods normalised to 255.
%! Q = nrx_label_relax (uint8 (reshape ([9 9], [1 1 1 2])), single (reshape ([1 3], [1 1 1 2])), single ([5; -5]));
%! assert (Q(:)', uint8 ([64 191]));
%! % One class: 255 wherever the likelihood is not 0; a 2-D input stays 2-D.
%! Q = nrx_label_relax (uint8 ([1 2; 3 4]), single ([1 0; 0.5 2]), single (7));
%! assert (Q, uint8 ([255 0; 255 255]));
%! % All-zero, negative and non-finite likelihoods give 0 (NaN products) or
%! % saturate (products beyond 0..255).
%! Q = nrx_label_relax (uint8 (reshape ([1 2 3], [1 1 1 3])), single (reshape ([-1 1.5 0.5], [1 1 1 3])), single ([0; 0; 0]));
%! assert (Q(:)', uint8 ([0 255 128]));
%! Q = nrx_label_relax (uint8 (reshape ([1 2], [1 1 1 2])), single (reshape ([NaN 1], [1 1 1 2])), single ([0; 0]));
%! assert (Q(:)', uint8 ([0 0]));

%!test
%! % 1024 classes are accepted.
%! Q = nrx_label_relax (zeros (1, 1, 1, 1024, "uint8"), ones (1, 1, 1, 1024, "single"), ones (1024, 1, "single"));
%! assert (size (Q), [1 1 1 1024]);
%! assert (all (Q(:) == 0));   % 255/1024 + 0.5 truncates to 0

%!test
%! % A refused call writes nothing, not even with no output requested.
%! mine = P + 0;
%! try
%!   nrx_label_relax (mine, F, G, single ([1 1]));
%! catch
%! end
%! assert (mine, P);

% Refusals, in the order the arguments are checked.
%!error <^nrx_label_relax: Incorrect usage$> nrx_label_relax (P, F)
%!error <^nrx_label_relax: Incorrect usage$> nrx_label_relax (P, F, G, w, w)
%!error <^nrx_label_relax: Incorrect usage$> [a, b] = nrx_label_relax (P, F, G)
%!error <^nrx_label_relax: Incorrect usage$> [a, b] = nrx_label_relax (1, 2)
%!error <^nrx_label_relax: First arg must be numeric, real, full and uint8\.$> nrx_label_relax (double (P), F, G)
%!error <^nrx_label_relax: First arg must be numeric, real, full and uint8\.$> nrx_label_relax (true (size (P)), F, G)
%!error <^nrx_label_relax: First arg must be numeric, real, full and uint8\.$> nrx_label_relax (int8 (P), 1, 2)
%!error <^nrx_label_relax: Second arg must be numeric, real, full and single\.$> nrx_label_relax (P, double (F), G)
%!error <^nrx_label_relax: Second arg must be numeric, real, full and single\.$> nrx_label_relax (P, complex (F), G)
%!error <^nrx_label_relax: Second arg must be numeric, real, full and single\.$> nrx_label_relax (P, uint8 (F), "x")
%!error <^nrx_label_relax: Third arg must be numeric, real and full\.$> nrx_label_relax (P, F, complex (G))
%!error <^nrx_label_relax: Third arg must be numeric, real and full\.$> nrx_label_relax (P, F, sparse (double (G)))
%!error <^nrx_label_relax: Third arg must be numeric, real and full\.$> nrx_label_relax (P, F, true (K))
%!error <^nrx_label_relax: First or second args have wrong number of dimensions\.$> nrx_label_relax (P, F(:, :, :, 1), G)
%!error <^nrx_label_relax: First or second args have wrong number of dimensions\.$> nrx_label_relax (zeros (2, 2, 2, 2, 2, "uint8"), zeros (2, 2, 2, 2, 2, "single"), G)
%!error <^nrx_label_relax: Too many classes\.$> nrx_label_relax (zeros (1, 1, 1, 1025, "uint8"), zeros (1, 1, 1, 2, "single"), G)
%!error <^nrx_label_relax: First and second args have incompatible dimensions\.$> nrx_label_relax (P, F(:, :, 1:4, :), G)
%!error <^nrx_label_relax: First and second args have incompatible dimensions\.$> nrx_label_relax (P, F(:, :, :, 1:2), G)
%!error <^nrx_label_relax: Third arg has incompatible dimensions\.$> nrx_label_relax (P, F, single ([1; 2]))
%!error <^nrx_label_relax: Third arg has incompatible dimensions\.$> nrx_label_relax (P, F, [1; 2])
%!error <^nrx_label_relax: Third arg must be single\.$> nrx_label_relax (P, F, [1; 2; 3])
%!error <^nrx_label_relax: Third arg has incompatible dimensions\.$> nrx_label_relax (P, F, single (ones (K, K + 1)))
%!error <^nrx_label_relax: Third arg must be single\.$> nrx_label_relax (P, F, double (G))
%!error <^nrx_label_relax: Third arg has incompatible dimensions\.$> nrx_label_relax (P, F, ones (4, 3, 5, K, K + 1, "single"))
%!error <^nrx_label_relax: Third arg has incompatible dimensions\.$> nrx_label_relax (P, F, ones (4, 3, 4, K, K, "single"))
%!error <^nrx_label_relax: Third arg must be single\.$> nrx_label_relax (P, F, ones (4, 3, 5, K, K, "uint8"))
%!error <^nrx_label_relax: Third arg has incompatible dimensions\.$> nrx_label_relax (P, F, ones (4, 3, 5, 2, "single"))
%!error <^nrx_label_relax: Third arg has incompatible dimensions\.$> nrx_label_relax (P, F, ones (4, 2, 5, 3, "uint8"))
%!error <^nrx_label_relax: Third arg must be either single or uint8\.$> nrx_label_relax (P, F, ones (4, 3, 5, 3))
%!error <^nrx_label_relax: Third arg has incompatible dimensions\.$> nrx_label_relax (P, F, ones (4, 3, 5, "single"))
%!error <^nrx_label_relax: Third arg has incompatible dimensions\.$> nrx_label_relax (P, F, ones (4, 3, 5, K, K, 2, "single"))
%!error <^nrx_label_relax: Fourth arg must be numeric, real, full and single\.$> nrx_label_relax (P, F, G, [1 1 1])
%!error <^nrx_label_relax: Fourth arg must be numeric, real, full and single\.$> nrx_label_relax (P, F, G, complex (w))
%!error <^nrx_label_relax: Fourth arg must contain three elements\.$> nrx_label_relax (P, F, G, single ([1 1]))
%!error <^nrx_label_relax: Fourth arg must contain three elements\.$> nrx_label_relax (P, F, G, single (ones (2, 2)))

% Sizes beyond the 32-bit range are refused, never truncated.
%!error <^nrx_label_relax: Args too large: dimensions and element counts must fit in 32-bit integers\.$> nrx_label_relax (zeros (3e9, 0, "uint8"), zeros (3e9, 0, "single"), single (1))
