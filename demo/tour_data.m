function data = tour_data (folder)
  % The scan the tour works on: the 1 mm T1 template and its brain-only
  % version from folder when they are there, otherwise a synthetic head
  % phantom of the same size and placement.
  %
  % data.T1     uint8 181 x 217 x 181 head scan
  % data.brain  uint8, the same with everything outside the brain set to 0
  % data.mask   logical brain mask
  % data.M      voxel-to-world matrix for zero-based voxel indices (mm)
  % data.source what was read, for the report
  % data.read_seconds time to read the T1 file (NaN for the phantom)
  t1 = fullfile (folder, "ch2.nii.gz");
  bet = fullfile (folder, "ch2bet.nii.gz");
  if (exist (t1, "file") && exist (bet, "file"))
    tic;
    [data.T1, data.M] = nrx_nifti_read (t1);
    data.read_seconds = toc;
    data.brain = nrx_nifti_read (bet);
    data.source = sprintf ("%s and %s (real T1 scan, 1 mm MNI space)", t1, bet);
  else
    printf ("No scan in %s (Debian package mricron-data): using a synthetic head phantom.\n", folder);
    [data.T1, data.brain, data.M] = tour_phantom ();
    data.read_seconds = NaN;
    data.source = "synthetic head phantom (no scan installed)";
  end
  data.mask = data.brain > 0;
end
