% NRX_NAN_REDUCE  Count the elements that are not NaN along one dimension.
%
%   Y = nrx_nan_reduce (X)
%   Y = nrx_nan_reduce (X, DIM)
%
%   X    array of any numeric class, logical or char (full, not sparse).
%   DIM  dimension to count along (its first element, truncated toward
%        zero; must be 1 or more). Without DIM, the first dimension of
%        size 2 or more; a scalar or empty X is counted element by element.
%        A DIM beyond the number of dimensions counts each element alone.
%
%   Y    X's shape with dimension DIM set to 1: the number of elements of
%        each fibre along DIM that are not NaN. Double, or single when X is
%        single. For complex X, the real parts are counted into real(Y) and
%        the imaginary parts into imag(Y).
%
%   Integer, logical and char elements are never NaN, so their counts are
%   the length of dimension DIM. Logical and char X give one warning per
%   element of Y. Cell, struct and other non-numeric X are refused
%   ("Unsupported type!") unless Y is empty.
