% Plug-in tests of nrx_region_graph, run through the host.

%!function [i, j, n, p] = reference_graph (rima, pm)
%!  % Every labelled voxel in storage order, its neighbours at k-1, j-1, i-1.
%!  [d0, d1, d2] = size (rima);
%!  i = j = n = p = zeros (0, 1);
%!  for v = 1:numel (rima)
%!    [x, y, z] = ind2sub ([d0 d1 d2], v);
%!    c = rima(v);
%!    if (c == 0) continue; end
%!    for u = [v - d0*d1*(z > 1), v - d0*(y > 1), v - (x > 1)]
%!      h = rima(u);
%!      if (u == v || h == 0 || h == c) continue; end
%!      i(end+1, 1) = min (c, h); j(end+1, 1) = max (c, h); n(end+1, 1) = 1;
%!      if (h > c) p(end+1, 1) = pm(v) - pm(u); else p(end+1, 1) = pm(u) - pm(v); end
%!    end
%!  end
%!endfunction

%!test
%! % Regions 1 and 2 across a flat border of 3 x 2 faces.
%! rima = ones (4, 3, 2); rima(3:4, :, :) = 2;
%! pm = reshape (0.5 * (1:24) .^ 1.5, 4, 3, 2);
%! rima0 = rima + 0; pm0 = pm + 0;
%! [i, j, n, p] = nrx_region_graph (rima, pm);
%! assert ([i j n], repmat ([1 2 1], 6, 1));
%! assert (p, reshape (pm(2, :, :) - pm(3, :, :), 6, 1));
%! assert (rima, rima0);        % the inputs are never written
%! assert (pm, pm0);

%!test
%! % Random labels with zeros, in 3-D and 2-D: rows and their order.
%! rand ("seed", 2);
%! rima = floor (4 * rand (6, 5, 4)) - 1;
%! pm = rand (6, 5, 4);
%! [i, j, n, p] = nrx_region_graph (rima, pm);
%! [ri, rj, rn, rp] = reference_graph (rima, pm);
%! assert ({i, j, n, p}, {ri, rj, rn, rp});
%! [i, j, n, p] = nrx_region_graph (rima(:, :, 2), pm(:, :, 2));
%! [ri, rj, rn, rp] = reference_graph (rima(:, :, 2), pm(:, :, 2));
%! assert ({i, j, n, p}, {ri, rj, rn, rp});

%!test
%! % One region, no region, or an empty map: four 0-by-1 columns.
%! for rima = {[0 3 3; 3 3 0], zeros(2, 3), zeros(0, 3)}
%!   [i, j, n, p] = nrx_region_graph (rima{1}, ones (size (rima{1})));
%!   assert ({i, j, n, p}, repmat ({zeros(0, 1)}, 1, 4));
%! end

% Refusals, in the order the arguments are checked.
%!error <^nrx_region_graph: usage: \[i,j,n,p\]=nrx_region_graph\(rima,pm\)$> nrx_region_graph ()
%!error <^nrx_region_graph: nrx_region_graph: 2 input arguments required$> [a, b, c, d] = nrx_region_graph (1)
%!error <^nrx_region_graph: nrx_region_graph: 2 input arguments required$> a = nrx_region_graph (1, 2, 3)
%!error <^nrx_region_graph: nrx_region_graph: 4 output argument required$> a = nrx_region_graph (single (1), 1)
%!error <^nrx_region_graph: nrx_region_graph: 4 output argument required$> [a, b, c] = nrx_region_graph (1, 1)
%!error <^nrx_region_graph: nrx_region_graph: 4 output argument required$> [a, b, c, d, e] = nrx_region_graph (1, 1)
%!error <^nrx_region_graph: nrx_region_graph: rima must be numeric, real, full and double$> [a, b, c, d] = nrx_region_graph (int32 (1), single (1))
%!error <^nrx_region_graph: nrx_region_graph: rima must be numeric, real, full and double$> [a, b, c, d] = nrx_region_graph (sparse (1), 1)
%!error <^nrx_region_graph: nrx_region_graph: rima must be 2 or 3-dimensional$> [a, b, c, d] = nrx_region_graph (ones (1, 2, 1, 2), single (1))
%!error <^nrx_region_graph: nrx_region_graph: rima is too large: dimensions and element count must fit in 32-bit integers$> [a, b, c, d] = nrx_region_graph (zeros (3e9, 0), single (1))
%!error <^nrx_region_graph: nrx_region_graph: pm must be numeric, real, full and double$> [a, b, c, d] = nrx_region_graph (1, single (1))
%!error <^nrx_region_graph: nrx_region_graph: pm must be numeric, real, full and double$> [a, b, c, d] = nrx_region_graph (1, complex (1, 0))
%!error <^nrx_region_graph: nrx_region_graph: rima and pm must have same dimensionality$> [a, b, c, d] = nrx_region_graph (ones (2), ones (2, 2, 2))
%!error <^nrx_region_graph: nrx_region_graph: rima and pm must have same size$> [a, b, c, d] = nrx_region_graph (ones (2, 3, 2), ones (2, 3, 3))
