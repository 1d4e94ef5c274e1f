% NRX_UNPACK_VALUE  Unpack a value from bytes.
%
%   V = nrx_unpack_value(B)
%
%   B  uint8 (or int8) array: the bytes nrx_pack_value returns, or those of
%      a single-variable MAT-file version 5 file written uncompressed, for
%      example by  save -v6 file.mat x  and read with
%      fread(fopen("file.mat"), Inf, "uint8=>uint8").
%
%   V  the value the bytes hold, whatever its name in the file.
%
%   Bytes that do not form such an image are refused with a message saying
%   what is wrong and at which byte. Also refused: compressed (save -v7) and
%   HDF5 (-v7.3) files, files of several variables, objects and function
%   handles, complex integers, and char arrays whose rows differ in length
%   as UTF-8 text. With no output requested, or no input given, nothing is
%   unpacked. Inputs after the first are ignored.
%
%   See also nrx_pack_value.
