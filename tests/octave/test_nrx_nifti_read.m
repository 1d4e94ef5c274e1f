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

%!function file = altered (varargin)
%!  % The 2 x 2 x 2 uint8 image of voxels 10..17 in a single NIfTI-1 file, with
%!  % the bytes of each value of altered (offset, value, ...) written at its
%!  % zero-based offset.
%!  file = [tempname() ".nii"];
%!  write_nifti (file, uint8 (reshape (10:17, 2, 2, 2)), 2, 0, 0, zeros (3, 4));
%!  f = fopen (file, "r+");
%!  for k = 1:2:numel (varargin)
%!    fseek (f, varargin{k}, SEEK_SET);
%!    fwrite (f, typecast (varargin{k+1}, "uint8"));
%!  end
%!  fclose (f);
%!endfunction

%!function file = nifti2 (dims, vox_offset, magic)
%!  % A single NIfTI-2 file of the uint8 voxels 10..17 whose header gives
%!  % these dimensions, voxel offset and magic.
%!  h = zeros (1, 544, "uint8");
%!  h(1:4) = typecast (int32 (540), "uint8");
%!  h(5:12) = [uint8(magic) 0 13 10 26 10];
%!  h(13:16) = typecast (int16 ([2 8]), "uint8");
%!  h(17:80) = typecast (int64 ([numel(dims) dims ones(1, 7 - numel (dims))]), "uint8");
%!  h(105:168) = typecast (ones (1, 8), "uint8");
%!  h(169:176) = typecast (int64 (vox_offset), "uint8");
%!  file = [tempname() ".nii"];
%!  f = fopen (file, "w");
%!  fwrite (f, [h uint8(10:17)]);
%!  fclose (f);
%!endfunction

%!function refused (file, message)
%!  % Reading FILE (deleted afterwards) fails with MESSAGE, where FILE stands
%!  % for the file's name.
%!  try
%!    nrx_nifti_read (file);
%!    text = "read";
%!  catch err
%!    text = err.message;
%!  end
%!  delete (file);
%!  assert (text, ["nrx_nifti_read: " strrep(message, "FILE", file)]);
%!endfunction

%!test
%! % Voxels start neither inside the header (352 bytes for NIfTI-1 with its
%! % extension flags, 544 for NIfTI-2) nor at an offset that is not a whole,
%! % non-negative number, nor beyond the file.
%! refused (altered (108, single (0)), "Voxel offset 0 (inside the 352 bytes of header and extension flags) in the NIfTI header of FILE");
%! refused (altered (108, single (351)), "Voxel offset 351 (inside the 352 bytes of header and extension flags) in the NIfTI header of FILE");
%! refused (nifti2 ([2 2 2], 540, "n+2"), "Voxel offset 540 (inside the 544 bytes of header and extension flags) in the NIfTI header of FILE");
%! refused (altered (108, single (NaN)), "Voxel offset nan (not a whole number of bytes) in the NIfTI header of FILE");
%! refused (altered (108, single (-Inf)), "Voxel offset -inf (not a whole number of bytes) in the NIfTI header of FILE");
%! refused (altered (108, single (353.5)), "Voxel offset 353.5 (not a whole number of bytes) in the NIfTI header of FILE");
%! refused (altered (108, single (-352)), "Negative voxel offset -352 in the NIfTI header of FILE");
%! refused (nifti2 ([2 2 2], -1, "n+2"), "Negative voxel offset -1 in the NIfTI header of FILE");
%! refused (altered (108, single (353)), "Too few bytes in FILE: the NIfTI header places 8 bytes of voxels at byte 353, the file holds 360");
%! refused (altered (108, single (1e30)), "Voxel offset 1.00000002e+30 (beyond any file) in the NIfTI header of FILE");

%!test
%! % In a .hdr/.img pair the voxels start at the offset in the .img file, 0 included.
%! file = altered (344, uint8 ("ni1"), 108, single (0));
%! f = fopen (file); bytes = fread (f, Inf, "uint8=>uint8")'; fclose (f);
%! delete (file);
%! base = tempname ();
%! f = fopen ([base ".hdr"], "w"); fwrite (f, bytes(1:348)); fclose (f);
%! f = fopen ([base ".img"], "w"); fwrite (f, uint8 (10:17)); fclose (f);
%! assert (nrx_nifti_read ([base ".hdr"]), uint8 (reshape (10:17, 2, 2, 2)));
%! assert (nrx_nifti_read ([base ".img"]), uint8 (reshape (10:17, 2, 2, 2)));
%! f = fopen ([base ".hdr"], "r+"); fseek (f, 108); fwrite (f, typecast (single (1), "uint8")); fclose (f);
%! refused ([base ".hdr"], ["Too few bytes in " base ".img: the NIfTI header places 8 bytes of voxels at byte 1, the file holds 8"]);
%! delete ([base ".img"]);

%!test
%! % A dimension count outside 1..7 or a size below 1 is refused.
%! refused (altered (40, int16 (0)), "Dimension count 0 (not 1 to 7) in the NIfTI header of FILE");
%! refused (altered (40, int16 (8)), "Dimension count 8 (not 1 to 7) in the NIfTI header of FILE");
%! refused (altered (44, int16 (0)), "Size 0 of dimension 2 (below 1) in the NIfTI header of FILE");

%!test
%! % A file without its kind's magic is not NIfTI, whatever else it holds.
%! refused (altered (344, uint8 ([0 0 0])), "No NIfTI-1 magic (n+1, for a single file) in the header of FILE");
%! refused (altered (344, uint8 ("ni1")), "No NIfTI-1 magic (n+1, for a single file) in the header of FILE");
%! refused (nifti2 ([2 2 2], 544, "n+1"), "No NIfTI-2 magic (n+2, for a single file) in the header of FILE");

%!test
%! % More voxels than the file holds, gzipped or not, are refused before
%! % anything that size is allocated.
%! claim = "Too few bytes in FILE: the NIfTI header places 1000000000 bytes of voxels at byte 352, the file holds 360";
%! refused (altered (42, int16 ([1000 1000 1000])), claim);
%! file = altered (42, int16 ([1000 1000 1000]));
%! gzip (file);
%! delete (file);
%! refused ([file ".gz"], strrep (claim, "FILE", [file ".gz"]));

%!test
%! % Sizes and voxel counts beyond 32 bits are refused.
%! too_large = "The image in FILE is too large (%s): dimensions and element count must fit in 32-bit integers";
%! refused (nifti2 ([2^31 1 1], 544, "n+2"), sprintf (too_large, "2147483648 x 1 x 1"));
%! refused (nifti2 ([65536 65536 1], 544, "n+2"), sprintf (too_large, "65536 x 65536 x 1"));
%! refused (altered (42, int16 ([32767 32767 32767]), 70, int16 ([64 64])), sprintf (too_large, "32767 x 32767 x 32767"));

%!test
%! % A name holding a NUL is refused, not cut there; a long one is shortened
%! % in messages, keeping both ends.
%! file = altered ();
%! try
%!   nrx_nifti_read ([file char(0) "x"]);
%!   text = "read";
%! catch err
%!   text = err.message;
%! end
%! delete (file);
%! assert (text, "nrx_nifti_read: The file name must not contain a NUL character.");
%! file = ["/no/such/" repmat("a", 1, 5000) ".nii"];
%! try
%!   nrx_nifti_read (file);
%! catch err
%!   assert (err.message, ["nrx_nifti_read: Cannot read a NIfTI image from " file(1:120) "..." file(end-119:end)]);
%! end

%!test
%! % The reference library writes nothing to stderr: the message says it all.
%! file = altered (40, int16 (8));
%! read = sprintf ("addpath ('%s'); try nrx_nifti_read ('%s'); catch err; disp (err.message); end", fileparts (which ("nrx_nifti_read")), file);
%! [status, output] = system (sprintf ('"%s" --norc --no-history --no-window-system --eval "%s" 2>&1', fullfile (OCTAVE_HOME, "bin", "octave-cli"), read));
%! delete (file);
%! assert (output, ["nrx_nifti_read: Dimension count 8 (not 1 to 7) in the NIfTI header of " file "\n"]);
