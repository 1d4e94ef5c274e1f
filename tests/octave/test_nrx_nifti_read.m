% Plug-in tests of nrx_nifti_read, run through the host.

%!function write_nifti (file, data, datatype, slope, inter, srow)
%!  % A single-file NIfTI-1 image: 348-byte header, 4 empty extension bytes, voxels.
%!  h = zeros (1, 352, "uint8");
%!  put = @(h, offset, value) [h(1:offset) typecast(value, "uint8") h(offset+numel(typecast(value, "uint8"))+1:end)];
%!  h = put (h, 0, int32 (348));
%!  h = put (h, 40, int16 ([ndims(data) size(data) ones(1, 7 - ndims (data))]));
%!  bits = struct ("t2", 8, "t4", 16, "t16", 32, "t64", 64, "t512", 16);
%!  h = put (h, 70, int16 ([datatype bits.(sprintf ("t%d", datatype))]));
%!  h = put (h, 76, single ([1 1 1 1 1 1 1 1]));
%!  h = put (h, 108, single ([352 slope inter]));
%!  h = put (h, 254, int16 (1));                 % sform_code: aligned
%!  h = put (h, 280, single (srow'(:)'));
%!  h = put (h, 344, uint8 ("n+1"));
%!  f = fopen (file, "w");
%!  fwrite (f, h);
%!  fwrite (f, typecast (data(:)', "uint8"));
%!  fclose (f);
%!endfunction

%!shared srow
%! srow = [2 0 0 -10; 0 3 0 20; 0 0 4 -30];

%!test
%! % Stored values come back in their own class, with the sform as matrix.
%! file = [tempname() ".nii"];
%! data = int16 (reshape (1:24, 2, 3, 4) - 12);
%! write_nifti (file, data, 4, 0, 0, srow);
%! [V, M] = nrx_nifti_read (file);
%! delete (file);
%! assert (V, data);
%! assert (M, [srow; 0 0 0 1]);

%!test
%! % An intensity scaling other than the identity gives scaled doubles.
%! file = [tempname() ".nii"];
%! data = uint8 (reshape (0:5, 1, 2, 3));
%! write_nifti (file, data, 2, 2, 1, srow);
%! V = nrx_nifti_read (file);
%! write_nifti (file, data, 2, 1, 0, srow);
%! W = nrx_nifti_read (file);
%! delete (file);
%! assert (V, reshape (2 * (0:5) + 1, 1, 2, 3));
%! assert (W, data);

%!test
%! % The 1 mm template scan the demo reads, where the data package is installed.
%! file = "/usr/share/mricron/templates/ch2.nii.gz";
%! if (exist (file, "file"))
%!   [V, M] = nrx_nifti_read (file);
%!   assert (class (V), "uint8");
%!   assert (size (V), [181 217 181]);
%!   assert (M * [90; 126; 72; 1], [0; 1; 1; 1]);
%! end

%!error <^nrx_nifti_read: Usage: \[V, M\] = nrx_nifti_read\(filename\)$> nrx_nifti_read ()
%!error <^nrx_nifti_read: Usage: \[V, M\] = nrx_nifti_read\(filename\)$> [a, b, c] = nrx_nifti_read ("x.nii")
%!error <^nrx_nifti_read: The file name must be a character string\.$> nrx_nifti_read (3)
%!error <^nrx_nifti_read: Cannot read a NIfTI image from /no/such/file\.nii$> nrx_nifti_read ("/no/such/file.nii")

%!test
%! % A file that is not a NIfTI image is refused, not misread.
%! file = [tempname() ".nii"];
%! f = fopen (file, "w"); fwrite (f, uint8 (1:400)); fclose (f);
%! try
%!   nrx_nifti_read (file);
%!   error ("read a file that is not NIfTI");
%! catch err
%!   assert (err.message, ["nrx_nifti_read: Cannot read a NIfTI image from " file]);
%! end
%! delete (file);
