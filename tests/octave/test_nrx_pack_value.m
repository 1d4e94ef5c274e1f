% Plug-in tests of nrx_pack_value, run through the host: round trips, the
% MAT-file form as other readers see it, refusals and the gateway steps.

%!function write_bytes (file, bytes)
%!  f = fopen (file, "w");
%!  fwrite (f, bytes);
%!  fclose (f);
%!endfunction

%!shared names, values
%! [names, values] = sample_values ();

%!test
%! % Every kind of value comes back equal, of the same class, size,
%! % complexity and sparsity; packing is a uint8 row and deterministic.
%! for k = 1:numel (values)
%!   b = nrx_pack_value (values{k});
%!   assert (class (b), "uint8");
%!   assert (rows (b), 1);
%!   assert (b, nrx_pack_value (values{k}));
%!   assert (same_value (nrx_unpack_value (b), values{k}), [names{k} " changed"]);
%! end

%!test
%! % A complete MAT-file version 5 image: header text, version 0x0100, the
%! % byte order mark, then one array element that fills the rest.
%! b = nrx_pack_value ([1 2 3]);
%! assert (char (b(1:19)), "MATLAB 5.0 MAT-file");
%! assert (b(125:128), uint8 ([0 1 'I' 'M']));
%! assert (typecast (b(129:136), "uint32"), uint32 ([14; numel(b) - 136])');
%! assert (mod (numel (b), 8), 0);

%!test
%! % Written to a file, the bytes load as the same value. The host's own
%! % reader has no sparse logical form and reads that one as sparse double.
%! file = [tempname() ".mat"];
%! unwind_protect
%!   for k = 1:numel (values)
%!     write_bytes (file, nrx_pack_value (values{k}));
%!     loaded = load (file);
%!     expected = values{k};
%!     if (issparse (expected) && islogical (expected))
%!       expected = double (expected);
%!     end
%!     assert (fieldnames (loaded), {"value"});
%!     assert (same_value (loaded.value, expected), [names{k} " loads differently"]);
%!   end
%! unwind_protect_cleanup
%!   unlink (file);
%! end_unwind_protect

%!test
%! % scipy.io.loadmat reads each packed file as it reads the host's own
%! % save -v6 file of the same value.
%! folder = tempname ();
%! mkdir (folder);
%! unwind_protect
%!   for k = 1:numel (values)
%!     value = values{k};
%!     write_bytes (fullfile (folder, [names{k} ".packed.mat"]), nrx_pack_value (value));
%!     if (issparse (value) && islogical (value))
%!       value = double (value);  % the host's writer garbles sparse logical arrays
%!     end
%!     save ("-v6", fullfile (folder, [names{k} ".ref.mat"]), "value");
%!   end
%!   script = fullfile (fileparts (which ("sample_values")), "scipy_mat.py");
%!   [status, output] = system (sprintf ("/usr/bin/python3 '%s' same '%s' 2>&1", script, folder));
%!   assert (status, 0, output);
%! unwind_protect_cleanup
%!   confirm_recursive_rmdir (false, "local");
%!   rmdir (folder, "s");
%! end_unwind_protect

%!test
%! % Field names longer than the customary 63 bytes get wider slots.
%! s = struct ();
%! s.(repmat ("f", 1, 70)) = 1;
%! s.short = 2;
%! assert (same_value (nrx_unpack_value (nrx_pack_value (s)), s));

%!test
%! % Sparse arrays need 32-bit dimensions and stored counts, not element
%! % counts: 10^10 elements of which two are stored pack and load.
%! s = sparse ([1 1e5], [2 1e5], [3 4], 1e5, 1e5);
%! b = nrx_pack_value (s);
%! assert (numel (b) < 1e6);
%! assert (same_value (nrx_unpack_value (b), s));

%!test
%! % Nesting: 256 levels pack, 257 are refused.
%! c = 1;
%! for k = 1:255
%!   c = {c};
%! end
%! d = nrx_unpack_value (nrx_pack_value (c));
%! for k = 1:255   % unwrapped by hand: the host's isequal recurses no deeper than 256
%!   assert (iscell (d) && isequal (size (d), [1 1]));
%!   d = d{1};
%! end
%! assert (d, 1);
%! fail ("x = nrx_pack_value ({c})", "^nrx_pack_value: Cannot pack a value nested more than 256 deep\\.$");

%!test
%! % A plain statement packs nothing, so it cannot fail or set ans; nor
%! % can a call without input. Inputs after the first are ignored.
%! clear ans
%! nrx_pack_value (1);
%! nrx_pack_value (@sin);
%! nrx_pack_value ();
%! assert (! exist ("ans", "var"));
%! assert (nrx_pack_value (1, @sin, "x"), nrx_pack_value (1));

%!error <^nrx_pack_value: Cannot pack a value of class function_handle: only numeric, logical, char, cell and struct arrays can be packed\.$>
%! x = nrx_pack_value (@sin);
%!error <^nrx_pack_value: Cannot pack a value of class function_handle: >
%! x = nrx_pack_value (@(t) t + 1);
%!error <^nrx_pack_value: Cannot pack a value of class containers\.Map: >
%! x = nrx_pack_value (containers.Map ());
%!error <^nrx_pack_value: Cannot pack a value of class function_handle: >
%! x = nrx_pack_value ({1, struct("f", {{@cos}})});
%!error <^nrx_pack_value: Cannot pack the value: an array in it has a dimension or element count beyond 2\^31 - 1\.$>
%! x = nrx_pack_value (sparse (2^31, 1));
%!error <^nrx_pack_value: Cannot pack the value: an array in it has a dimension or element count beyond 2\^31 - 1\.$>
%! x = nrx_pack_value ({1, zeros(0, 2^31)});
