function write_seeds (folder)
  % Writes seed inputs of the unpacker's fuzz target into FOLDER: the packed
  % bytes and the save -v6 file of every sample value (sample_values.m), and
  % a cell whose sizes the host's own writer overstates.
  if (! exist (folder, "dir"))
    mkdir (folder);
  end
  [names, values] = sample_values ();
  for k = 1:numel (values)
    f = fopen (fullfile (folder, [names{k} ".packed"]), "w");
    fwrite (f, nrx_pack_value (values{k}));
    fclose (f);
    x = values{k};
    save ("-v6", fullfile (folder, [names{k} ".v6"]), "x");
  end
  x = {["ab"; "cd"], 7, "abc"'};
  save ("-v6", fullfile (folder, "miscounted.v6"), "x");
end
