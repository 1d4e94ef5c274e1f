% Plug-in tests of nrx_unpack_value, run through the host: files that other
% writers made, bytes that do not form a packed value, and the gateway steps.

%!function b = file_bytes (file)
%!  f = fopen (file, "r");
%!  b = fread (f, Inf, "uint8=>uint8")';
%!  fclose (f);
%!endfunction

%!function assert_refused (b, pattern)
%!  try
%!    nrx_unpack_value (b);
%!    value = nrx_unpack_value (b);
%!  catch err
%!    assert (regexp (err.message, pattern, "once"), 1, err.message);
%!    return;
%!  end
%!  error ("unpacked %d bytes that should have been refused", numel (b));
%!endfunction

%!shared names, values, nested, file
%! [names, values] = sample_values ();
%! nested = nrx_pack_value ({int16([1 -2]), struct("s", {"é", sparse([0 1i])}), {true, "ab"}});
%! file = [tempname() ".mat"];

%!test
%! % Files of one variable that the host's own save -v6 writes unpack to
%! % the saved value, whatever the variable's name.
%! unwind_protect
%!   for k = 1:numel (values)
%!     x = values{k};
%!     save ("-v6", file, "x");
%!     assert (same_value (nrx_unpack_value (file_bytes (file)), x), [names{k} " changed"]);
%!   end
%! unwind_protect_cleanup
%!   unlink (file);
%! end_unwind_protect

%!test
%! % Files that scipy.io.savemat writes unpack to the values it was given.
%! folder = tempname ();
%! mkdir (folder);
%! unwind_protect
%!   script = fullfile (fileparts (which ("sample_values")), "scipy_mat.py");
%!   [status, output] = system (sprintf ("/usr/bin/python3 '%s' write '%s' 2>&1", script, folder));
%!   assert (status, 0, output);
%!   expected = struct (
%!     "double", [1.5 -2; 3 4],
%!     "single", single([1.5 -Inf]),
%!     "int16", int16([1 -2 3]),
%!     "uint64", uint64(2)^60,
%!     "complex", [1+2i, 3-4i],
%!     "logical", logical([1 0 1]),
%!     "text", "é€x",
%!     "rows", ["ab"; "cd"],
%!     "cell", {{1, "a"}},
%!     "struct", struct("beta", 1, "alpha", "x"),
%!     "sparse", sparse([1 0; 0 2.5; 0 0]),
%!     "nd", reshape(0:23, 2, 3, 4),
%!     "empty", zeros(0, 3));
%!   for [value, name] = expected
%!     unpacked = nrx_unpack_value (file_bytes (fullfile (folder, [name ".mat"])));
%!     assert (same_value (unpacked, value), [name " differs"]);
%!   end
%! unwind_protect_cleanup
%!   confirm_recursive_rmdir (false, "local");
%!   rmdir (folder, "s");
%! end_unwind_protect

%!test
%! % int8 bytes are read as their unsigned values.
%! assert (same_value (nrx_unpack_value (typecast (nested, "int8")), nrx_unpack_value (nested)));

%!test
%! % Every truncation of a packed value is refused.
%! for n = 0:numel (nested) - 1
%!   assert_refused (nested(1:n), "^nrx_unpack_value: Not a packed value: .*\\.$");
%! end

%!test
%! % Every byte of a packed value changed in turn gives a value or a clear
%! % refusal, never a crash or a read outside the bytes.
%! for k = 1:numel (nested)
%!   for change = uint8 ([1 128 255])
%!     b = nested;
%!     b(k) = bitxor (b(k), change);
%!     try
%!       nrx_unpack_value (b);
%!       value = nrx_unpack_value (b);
%!     catch err
%!       assert (regexp (err.message, "^nrx_unpack_value: (Not a packed value: |Cannot unpack ).*\\.$", "once"), 1, err.message);
%!     end
%!   end
%! end

%!test
%! % Lengths beyond the bytes are refused before anything is allocated.
%! b = nested;
%! b(133:136) = 255;                      % the array's byte count
%! assert_refused (b, "^nrx_unpack_value: Not a packed value: the array at byte 128 declares 4294967295 bytes, but its contents take \\d+\\.$");
%! b = nested;
%! b(161:168) = typecast (int32 ([2^31-1 2^31-1]), "uint8");  % the cell's dimensions
%! assert_refused (b, "^nrx_unpack_value: Not a packed value: the cell array at byte \\d+ has 4611686014132420609 elements, more than the remaining \\d+ bytes can hold\\.$");
%! b = nrx_pack_value (zeros (1, 3));
%! b(161:164) = typecast (int32 (2^31 - 1), "uint8");
%! assert_refused (b, "^nrx_unpack_value: Not a packed value: the real part at byte 184 holds 3 elements where the array has 6442450941\\.$");

%!test
%! % Files the packed form does not cover are refused by name.
%! x = 1;  y = 2;
%! unwind_protect
%!   save ("-v6", file, "x", "y");
%!   assert_refused (file_bytes (file), "^nrx_unpack_value: Cannot unpack a MAT-file of several variables: a packed value holds exactly one\\.$");
%!   save ("-v7", file, "x");
%!   assert_refused (file_bytes (file), "^nrx_unpack_value: Cannot unpack compressed data \\(as save -v7 writes\\); save with -v6 instead\\.$");
%! unwind_protect_cleanup
%!   unlink (file);
%! end_unwind_protect
%! b = nested;
%! b(125:126) = [0 2];
%! assert_refused (b, "^nrx_unpack_value: Cannot unpack a version 7\\.3 \\(HDF5\\) MAT-file; save with -v6 instead\\.$");
%! assert_refused ([nested 0 0 0 0 0 0 0 0], "^nrx_unpack_value: Not a packed value: 8 bytes follow the array at byte \\d+\\.$");

%!test
%! % Complex integers, which other writers may store, have no host form.
%! b = nrx_pack_value (single (1 + 2i));
%! b(145) = 10;   % the class byte of the array flags: int16
%! assert_refused (b, "^nrx_unpack_value: Cannot unpack a complex int16 array: this host has no complex integers\\.$");

%!test
%! % A plain statement unpacks nothing, so even bad bytes raise nothing; nor
%! % does a call without input. Inputs after the first are ignored.
%! clear ans
%! nrx_unpack_value (uint8 (1:10));
%! nrx_unpack_value ();
%! assert (! exist ("ans", "var"));
%! assert (nrx_unpack_value (nested, "ignored"), nrx_unpack_value (nested));

%!error <^nrx_unpack_value: Packed bytes must be a uint8 or int8 array, as nrx_pack_value returns; got a double array\.$>
%! x = nrx_unpack_value (double (nrx_pack_value (1)));
%!error <^nrx_unpack_value: Packed bytes must be a uint8 or int8 array, as nrx_pack_value returns; got a char array\.$>
%! x = nrx_unpack_value (char (nrx_pack_value (1)));
