function write_nifti_seeds (folder)
  % Writes seed inputs of the NIfTI reader's fuzz target into FOLDER: small
  % NIfTI-1 and NIfTI-2 images in both byte orders, of every voxel type the
  % reader takes and a few it refuses, from one to seven dimensions, as a
  % single file (magic n+1, n+2) and as a .hdr file (ni1, ni2) whose voxels
  % follow at the same offset, so that the same bytes serve as its .img
  % file; some with an intensity scaling or NaN voxels.
  if (! exist (folder, "dir"))
    mkdir (folder);
  end
  types = {2, "uint8"; 256, "int8"; 512, "uint16"; 4, "int16"; 768, "uint32"; 8, "int32"; ...
           1280, "uint64"; 1024, "int64"; 16, "single"; 64, "double"; 32, "single"; 128, "uint8"};
  shapes = {3, [2 3 2]; 1, 5; 4, [2 1 2 3]; 7, [1 2 1 1 1 1 2]};
  for version = 1:2
    for order = {"ieee-le", "ieee-be"}
      for t = 1:rows (types)
        for s = 1:rows (shapes)
          for single_file = [true false]
            dims = shapes{s, 2};
            values = (0:prod (dims) - 1) - 2;
            if (any (strcmp (types{t, 2}, {"single", "double"})) && s == 2)
              values(3) = NaN;
            end
            bytes = [header(version, single_file, types{t, 1}, 8 * numel (typecast (cast (1, types{t, 2}), "uint8")), ...
                            shapes{s, 1}, dims, s == 4, order{1}) ...
                     as_bytes(cast (values, types{t, 2}), order{1})];
            name = sprintf ("v%d-%s-%d-%dd-%s.nii", version, order{1}(6:7), types{t, 1}, shapes{s, 1}, ...
                            merge (single_file, "single", "hdr"));
            f = fopen (fullfile (folder, name), "w");
            fwrite (f, bytes);
            fclose (f);
          end
        end
      end
    end
  end
end

function bytes = as_bytes (values, order)
  if (strcmp (order, "ieee-be"))
    values = swapbytes (values);
  end
  bytes = typecast (values, "uint8");
end

function bytes = header (version, single_file, datatype, bitpix, ndims, dims, scaled, order)
  % The header and four extension-flag bytes; the voxels follow.
  dim = [ndims dims ones(1, 7 - numel (dims))];
  slope_inter = [1 0] + scaled * [1 0.5];
  if (version == 1)
    bytes = zeros (1, 352, "uint8");
    bytes(1:4) = as_bytes (int32 (348), order);
    bytes(41:56) = as_bytes (int16 (dim), order);
    bytes(71:74) = as_bytes (int16 ([datatype bitpix]), order);
    bytes(77:108) = as_bytes (single ([-1 2 2 2 1 1 1 1]), order);
    bytes(109:120) = as_bytes (single ([352 slope_inter]), order);
    bytes(253:256) = as_bytes (int16 ([1 2]), order);
    bytes(257:280) = as_bytes (single ([0.1 0.2 0.3 -90 126 -72]), order);
    bytes(281:328) = as_bytes (single ([2 0 0 -90 0 2 0 -126 0 0 2 -72]), order);
    bytes(345:347) = merge (single_file, "n+1", "ni1");
  else
    bytes = zeros (1, 544, "uint8");
    bytes(1:4) = as_bytes (int32 (540), order);
    bytes(5:12) = [uint8(merge (single_file, "n+2", "ni2")) 0 13 10 26 10];
    bytes(13:16) = as_bytes (int16 ([datatype bitpix]), order);
    bytes(17:80) = as_bytes (int64 (dim), order);
    bytes(105:168) = as_bytes ([-1 2 2 2 1 1 1 1], order);
    bytes(169:176) = as_bytes (int64 (544), order);
    bytes(177:192) = as_bytes (slope_inter, order);
    bytes(345:352) = as_bytes (int32 ([1 2]), order);
    bytes(353:400) = as_bytes ([0.1 0.2 0.3 -90 126 -72], order);
    bytes(401:496) = as_bytes ([2 0 0 -90 0 2 0 -126 0 0 2 -72], order);
  end
end
