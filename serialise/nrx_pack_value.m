% NRX_PACK_VALUE  Pack a value into bytes.
%
%   B = nrx_pack_value(V)
%
%   V  a numeric (any class, real or complex), logical, char, cell or
%      struct array of any size, full or (double and logical) sparse;
%      cells and structs may nest up to 256 levels deep.
%
%   B  uint8 row vector: a complete MAT-file version 5 image holding V
%      under the name "value". Written to a file unchanged, B is a .mat
%      file that load (and other MAT-file readers) open; nrx_unpack_value(B)
%      gives back V with its class, size, complexity and sparsity.
%
%   Text is stored as UTF-16 when V (or a char array inside it) is a single
%   row of valid UTF-8 text, and as its bytes otherwise.
%
%   Function handles, objects and other values without a MAT-file form are
%   refused with a message naming their class, as is an array of 4 GiB or
%   more or with more than 2^31 - 1 elements. With no output requested, or
%   no input given, nothing is packed. Inputs after the first are ignored.
%
%   See also nrx_unpack_value.
