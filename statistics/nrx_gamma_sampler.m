% NRX_GAMMA_SAMPLER  Gamma-distributed random numbers.
%
%   R = nrx_gamma_sampler (A, B)
%   R = nrx_gamma_sampler (A, B, S1, S2, ...)
%
%   A   shape (first element used).
%   B   scale (first element used).
%   S1, S2, ...  output sizes, each truncated toward zero; negative and NaN
%       sizes count as 0. A single size S1 gives an S1 x 1 column.
%
%   R   double array of B times independent Gamma(A, 1) variates: one sample
%       without sizes, otherwise an S1 x S2 x ... array (mean A*B). A shape
%       of 0 gives zeros; a NaN shape, or one below -2/3, gives NaN.
%
%   The generator (Wichmann-Hill uniforms, polar-method normals and the
%   Marsaglia-Tsang method) keeps its state while the plug-in stays loaded,
%   so each call continues the sequence; "clear nrx_gamma_sampler" starts it
%   again from the beginning. Calls that fail or draw nothing leave it as it
%   was. The element count must fit in a 32-bit integer.
