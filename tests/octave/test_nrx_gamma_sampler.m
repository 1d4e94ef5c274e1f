% Plug-in tests of nrx_gamma_sampler, run through the host. Each test that
% looks at exact values unloads the plug-in first, so its generator starts
% again from the words 101, 1001, 10001.

%!function [u, s] = ref_rand (s)
%!  % Wichmann-Hill: each word advanced, the sum formed in single precision.
%!  s = mod (s .* [171 172 170], [30269 30307 30323]);
%!  u = single (s(1)) / single (30269) + single (s(2)) / single (30307) + single (s(3)) / single (30323);
%!  u = double (u - fix (u));
%!endfunction

%!function [z, s] = ref_randn (s)
%!  % Polar method; the second deviate is discarded.
%!  do
%!    [u, s] = ref_rand (s);  p = 2 * u - 1;
%!    [u, s] = ref_rand (s);  q = 2 * u - 1;
%!    w = p * p + q * q;
%!  until (w < 1 && w != 0)
%!  z = p * sqrt (-2 * log (w) / w);
%!endfunction

%!function [g, s] = ref_gamma (s, a)
%!  % Marsaglia-Tsang, boosted by U^(1/a) below shape 1.
%!  c = 1;
%!  if (a < 1)
%!    [u, s] = ref_rand (s);
%!    c = exp (log (u) / a);
%!    a = a + 1;
%!  end
%!  d = a - 1 / 3;
%!  k = 1 / sqrt (9 * d);
%!  while (true)
%!    do
%!      [x, s] = ref_randn (s);
%!      v = 1 + k * x;
%!    until (v > 0)
%!    v = v * v * v;
%!    x2 = x * x;
%!    [u, s] = ref_rand (s);
%!    if (u < 1 - 0.0331 * x2 * x2 || log (u) < 0.5 * x2 + d * (1 - v + log (v)))
%!      g = c * d * v;
%!      return;
%!    end
%!  end
%!endfunction

%!function [r, s] = ref_samples (s, a, b, n)
%!  r = zeros (n, 1);
%!  for i = 1:n
%!    [g, s] = ref_gamma (s, a);
%!    r(i) = g * b;
%!  end
%!endfunction

%!function s = load_state ()
%!  s = [101 1001 10001];
%!endfunction

%!test
%! % Exact first values after a fresh load, running on from call to call.
%! clear nrx_gamma_sampler
%! r = [nrx_gamma_sampler(2, 3, 2, 3)(:); nrx_gamma_sampler(0.5, 2, 4)(:); nrx_gamma_sampler(10, -1)];
%! [expected, s] = ref_samples (load_state (), 2, 3, 6);
%! [expected(7:10), s] = ref_samples (s, 0.5, 2, 4);
%! expected(11) = ref_samples (s, 10, -1, 1);
%! assert (r, expected);

%!test
%! % Runs long enough to cross the uniforms the plug-in makes ahead, with
%! % rejections and the boosted shape's scale, go on from call to call.
%! clear nrx_gamma_sampler
%! r = [nrx_gamma_sampler(1, 1, 700, 1); nrx_gamma_sampler(0.5, 1, 500, 1); nrx_gamma_sampler(1, 1, 3, 1)];
%! [expected, s] = ref_samples (load_state (), 1, 1, 700);
%! [expected(701:1200), s] = ref_samples (s, 0.5, 1, 500);
%! expected(1201:1203) = ref_samples (s, 1, 1, 3);
%! assert (r, expected);

%!test
%! % Two calls differ; unloading and reloading repeats them.
%! clear nrx_gamma_sampler
%! first = [nrx_gamma_sampler(2, 1), nrx_gamma_sampler(2, 1)];
%! assert (first(1) != first(2));
%! clear nrx_gamma_sampler
%! assert ([nrx_gamma_sampler(2, 1), nrx_gamma_sampler(2, 1)], first);
%! clear  % variables only: the plug-in stays loaded and its sequence goes on
%! assert (nrx_gamma_sampler (2, 1), ref_samples (load_state (), 2, 1, 3)(3));

%!test
%! % Refused and empty calls draw nothing.
%! clear nrx_gamma_sampler
%! first = nrx_gamma_sampler (2, 1);
%! clear nrx_gamma_sampler
%! calls = {@() nrx_gamma_sampler(1), @() nrx_gamma_sampler(), @() nrx_gamma_sampler(2, 1, 1e5, 1e5),
%!          @() nrx_gamma_sampler(2, 1, 3e9), @() nrx_gamma_sampler(2, 1, {}), @() nrx_gamma_sampler([], 1)};
%! for k = 1:numel (calls)
%!   try
%!     calls{k} ();
%!     error ("call %d was not refused", k);
%!   catch err
%!     assert (strncmp (err.message, "nrx_gamma_sampler: ", 19), err.message);
%!   end
%! end
%! try
%!   [r1, r2] = nrx_gamma_sampler (2, 1);
%! catch
%! end
%! assert (size (nrx_gamma_sampler (2, 1, 0, 5)), [0 5]);
%! assert (size (nrx_gamma_sampler (2, 1, 4, -3)), [4 0]);
%! assert (size (nrx_gamma_sampler (2, 1, NaN)), [0 1]);
%! assert (size (nrx_gamma_sampler (2, 1, 1e5, 1e5, 0)), [1e5 1e5 0]);
%! assert (nrx_gamma_sampler (2, 1), first);

%!test
%! % Sizes: truncated toward zero, one size gives a column.
%! assert (size (nrx_gamma_sampler (2, 3, 2, 3)), [2 3]);
%! assert (size (nrx_gamma_sampler (2, 3, 2.9, 3.2)), [2 3]);
%! assert (size (nrx_gamma_sampler (2, 3, 4)), [4 1]);
%! assert (size (nrx_gamma_sampler (2, 3, 2, 1, 3)), [2 1 3]);
%! assert (size (nrx_gamma_sampler (2, 3, int8 (3), true)), [3 1]);
%! assert (class (nrx_gamma_sampler (single (2), single (3))), "double");

%!test
%! % Sample means near shape times scale.
%! for a = [0.5 1 2 10]
%!   r = nrx_gamma_sampler (a, 2, 1e5, 1);
%!   % Five standard errors of the mean, sqrt (a) * 2 / sqrt (1e5).
%!   assert (abs (mean (r) - 2 * a) < 5 * 2 * sqrt (a / 1e5), sprintf ("shape %g: mean %g", a, mean (r)));
%!   assert (all (r > 0));
%! end

%!test
%! % Shape 0 gives zeros, a negative scale negative samples, a NaN shape NaN.
%! assert (nrx_gamma_sampler (0, 5, 3, 2), zeros (3, 2));
%! assert (all (nrx_gamma_sampler (2, -1, 10, 1) < 0));
%! assert (all (isnan (nrx_gamma_sampler (NaN, 1, 3, 1))));

% Refusals, in the order they are checked.
%!error <^nrx_gamma_sampler: Too many output arguments\.$> [r1, r2] = nrx_gamma_sampler (2, 1)
%!error <^nrx_gamma_sampler: Too many output arguments\.$> [r1, r2] = nrx_gamma_sampler (2)
%!error <^nrx_gamma_sampler: Requires at least two input arguments\.$> nrx_gamma_sampler (2)
%!error <^nrx_gamma_sampler: Requires at least two input arguments\.$> nrx_gamma_sampler ()
%!error <^nrx_gamma_sampler: Sizes must be non-empty numeric values\.$> nrx_gamma_sampler ({}, 1, [])
%!error <^nrx_gamma_sampler: Sizes must be non-empty numeric values\.$> nrx_gamma_sampler (2, 1, 3, {3})
%!error <^nrx_gamma_sampler: Sizes too large: each size and their product must fit in 32-bit integers\.$> nrx_gamma_sampler ({}, 1, 2^31)
%!error <^nrx_gamma_sampler: Sizes too large: each size and their product must fit in 32-bit integers\.$> nrx_gamma_sampler (2, 1, 0, Inf)
%!error <^nrx_gamma_sampler: Sizes too large: each size and their product must fit in 32-bit integers\.$> nrx_gamma_sampler (2, 1, 65536, 32768)
%!error <^nrx_gamma_sampler: Shape and scale must be non-empty numeric values\.$> nrx_gamma_sampler ([], 1)
%!error <^nrx_gamma_sampler: Shape and scale must be non-empty numeric values\.$> nrx_gamma_sampler (2, struct ("b", 1), 3)
