% Plug-in tests of nrx_nan_reduce, run through the host.

%!function [y, n] = reduce_counting_warnings (varargin)
%!  % Calls the plug-in and counts the layout warnings it printed.
%!  text = evalc ("y = nrx_nan_reduce (varargin{:});");
%!  n = numel (strfind (text, "warning: The byte layout of"));
%!endfunction

%!shared X
%! X = [1 NaN 3; NaN NaN 6];

%!test
%! % The worked example, along the default and each named dimension.
%! assert (nrx_nan_reduce (X), [1 0 2]);
%! assert (nrx_nan_reduce (X, 1), [1 0 2]);
%! assert (nrx_nan_reduce (X, 2), [2; 1]);
%! assert (nrx_nan_reduce (X, 2.9), [2; 1]);
%! assert (nrx_nan_reduce (X, int8 (2)), [2; 1]);
%! % A dimension beyond the last counts each element alone.
%! assert (nrx_nan_reduce (X, 3), double (! isnan (X)));
%! assert (nrx_nan_reduce (X, 2^31 - 1), double (! isnan (X)));

%!test
%! % Against a reference on 4-D arrays with singleton axes and NaN, every
%! % dimension; 60 x 50 rows are longer than one run of the counting walk.
%! rand ("seed", 5);
%! for shape = {[3 4 2 5], [1 6 1 4], [60 50 3], [7 1]}
%!   A = rand (shape{1});
%!   A(rand (size (A)) < 0.3) = NaN;
%!   for dim = 1:5
%!     assert (nrx_nan_reduce (A, dim), sum (! isnan (A), dim));
%!   end
%!   default = find (size (A) >= 2, 1);
%!   assert (nrx_nan_reduce (A), sum (! isnan (A), default));
%! end

%!test
%! % Default dimension of row vectors, scalars and empties.
%! assert (nrx_nan_reduce ([1 2 NaN 4 5]), 4);
%! assert (nrx_nan_reduce (7), 1);
%! assert (nrx_nan_reduce (NaN), 0);
%! assert (size (nrx_nan_reduce ([])), [0 0]);
%! assert (size (nrx_nan_reduce (zeros (0, 3))), [0 1]);
%! assert (size (nrx_nan_reduce (zeros (1, 0))), [1 0]);
%! assert (nrx_nan_reduce (zeros (3, 0), 2), zeros (3, 1));
%! assert (size (nrx_nan_reduce (zeros (0, 5e4, 5e4))), [0 1 5e4]);

%!test
%! % Every integer class counts the length of the dimension, as doubles.
%! for cls = {"int8", "uint8", "int16", "uint16", "int32", "uint32", "int64", "uint64"}
%!   A = cast ([intmin(cls{1}) intmax(cls{1}); 0 1; 5 7], cls{1});
%!   A = cat (3, A, A);
%!   assert (isequal (nrx_nan_reduce (A), 3 * ones (1, 2, 2)), cls{1});
%!   assert (isequal (nrx_nan_reduce (A, 3), 2 * ones (3, 2)), cls{1});
%! end

%!test
%! % Single in, single out, counted the same way.
%! y = nrx_nan_reduce (single (X));
%! assert (class (y), "single");
%! assert (y, single ([1 0 2]));
%! y = nrx_nan_reduce (complex (single (X), single (1)), 2);
%! assert (class (y), "single");
%! assert (y, complex (single ([2; 1]), single ([3; 3])));

%!test
%! % Complex: real parts count into the real part, imaginary into the imaginary.
%! Z = complex ([1 2; 3 4; 5 6], [NaN 1; 2 3; NaN NaN]);
%! y = nrx_nan_reduce (Z);
%! assert (iscomplex (y));
%! assert (real (y), [3 3]);
%! assert (imag (y), [1 2]);
%! assert (nrx_nan_reduce (Z, 2), complex ([2; 2; 2], [1; 2; 0]));

%!test
%! % Logical and char count every element, with one warning per count.
%! [y, n] = reduce_counting_warnings (true (3, 4));
%! assert ({y, n}, {[3 3 3 3], 4});
%! assert (lastwarn (), "The byte layout of logical arrays is not documented. Guessing.");
%! [y, n] = reduce_counting_warnings (false (3, 4), 3);
%! assert ({y, n}, {ones(3, 4), 12});
%! [y, n] = reduce_counting_warnings (['abc'; 'def'], 2);
%! assert ({y, n}, {[3; 3], 2});
%! assert (lastwarn (), "The byte layout of char arrays is not documented. Guessing.");
%! [y, n] = reduce_counting_warnings (true (4, 0));
%! assert ({y, n}, {zeros(1, 0), 0});
%! [y, n] = reduce_counting_warnings (true (0, 4), 1);
%! assert ({y, n}, {zeros(1, 4), 4});

%!test
%! % A non-numeric class with an empty result raises nothing.
%! assert (nrx_nan_reduce ({}), zeros (0, 0));
%! assert (nrx_nan_reduce (cell (0, 3)), zeros (0, 1));

% Refusals, in the order they are checked.
%!error <^nrx_nan_reduce: Too few input arguments!$> nrx_nan_reduce ()
%!error <^nrx_nan_reduce: Too many input arguments!$> nrx_nan_reduce (X, 1, 2)
%!error <^nrx_nan_reduce: Too many input arguments!$> nrx_nan_reduce ({}, 0, 2)
%!error <^nrx_nan_reduce: Sparse arrays are not supported!$> nrx_nan_reduce (sparse ([1 NaN; 0 2]))
%!error <^nrx_nan_reduce: Sparse arrays are not supported!$> nrx_nan_reduce (sparse (true (2)), 0)
%!error <^nrx_nan_reduce: Array too large: dimensions and element counts must fit in 32-bit integers!$> nrx_nan_reduce (zeros (3e9, 0), 0)
%!error <^nrx_nan_reduce: Invalid value for dimension \(argument 2\)!$> nrx_nan_reduce (X, 0)
%!error <^nrx_nan_reduce: Invalid value for dimension \(argument 2\)!$> nrx_nan_reduce (X, -1)
%!error <^nrx_nan_reduce: Invalid value for dimension \(argument 2\)!$> nrx_nan_reduce (X, 0.9)
%!error <^nrx_nan_reduce: Invalid value for dimension \(argument 2\)!$> nrx_nan_reduce (X, NaN)
%!error <^nrx_nan_reduce: Invalid value for dimension \(argument 2\)!$> nrx_nan_reduce (X, 2^31)
%!error <^nrx_nan_reduce: Invalid value for dimension \(argument 2\)!$> nrx_nan_reduce (X, [])
%!error <^nrx_nan_reduce: Invalid value for dimension \(argument 2\)!$> nrx_nan_reduce (X, {2})
%!error <^nrx_nan_reduce: Invalid value for dimension \(argument 2\)!$> nrx_nan_reduce ({1}, 0)
%!error <^nrx_nan_reduce: Invalid value for dimension \(argument 2\)!$> nrx_nan_reduce (zeros (0, 5e4, 5e4), 0)
%!error <^nrx_nan_reduce: Array too large: dimensions and element counts must fit in 32-bit integers!$> nrx_nan_reduce (zeros (0, 5e4, 5e4), 1)
%!error <^nrx_nan_reduce: Unsupported type!$> nrx_nan_reduce ({1, 2})
%!error <^nrx_nan_reduce: Unsupported type!$> nrx_nan_reduce (struct ("a", 1), 2)
%!error <^nrx_nan_reduce: Unsupported type!$> nrx_nan_reduce (@sin)
