function [rows, pictures, results] = tour_exchange (data, out, results)
  % Everything the tour computed, packed into one byte array and unpacked
  % again, compared with the original.
  tic;
  bytes = nrx_pack_value (results);
  seconds = toc;
  rows = struct ("step", "exchange", "plugin", "nrx_pack_value",
                 "figure", sprintf ("all results (%d fields) packed into %.1f MB (a MAT-file image)",
                                    numel (fieldnames (results)), numel (bytes) / 2^20),
                 "seconds", seconds);
  tic;
  back = nrx_unpack_value (bytes);
  seconds = toc;
  same = isequaln (back, results);
  rows(2) = struct ("step", "exchange", "plugin", "nrx_unpack_value",
                    "figure", sprintf ("unpacked again: %s", merge (same, "identical", "DIFFERENT")),
                    "seconds", seconds);
  if (! same)
    error ("unpacked results differ from the packed ones");
  end
  pictures = struct ("file", {}, "caption", {});
end
