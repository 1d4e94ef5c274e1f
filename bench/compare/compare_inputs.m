function compare_inputs (folder, scans, quick)
  % COMPARE_INPUTS  Makes the inputs every contender of the comparison reads.
  %
  %   compare_inputs (folder, scans, quick)
  %
  % Reads the 1 mm T1 template and its brain-only version from the folder
  % scans with nrx_nifti_read, derives every synthetic input from them, and
  % writes each as <name>.mat (one variable, save -v6, which the host and
  % scipy.io.loadmat both read) into folder, with source.txt naming what was
  % read. quick keeps every fourth voxel along each axis (scan_step) and draws fewer
  % samples; only quick falls back to the tour's synthetic head when the
  % scans are missing. Everything is deterministic, so runs are comparable.
  t1 = fullfile (scans, "ch2.nii.gz");
  bet = fullfile (scans, "ch2bet.nii.gz");
  if (exist (t1, "file") && exist (bet, "file"))
    [T1, M] = nrx_nifti_read (t1);
    brain = nrx_nifti_read (bet);
    source = sprintf ("%s\n%s\n", t1, bet);
  elseif (quick)
    [T1, brain, M] = tour_phantom ();
    source = "phantom\n";
  else
    error ("compare_inputs: no ch2.nii.gz and ch2bet.nii.gz in %s (Debian package mricron-data)", scans);
  end
  step = merge (quick, 4, 1);
  T1 = T1(1:step:end, 1:step:end, 1:step:end);
  brain = brain(1:step:end, 1:step:end, 1:step:end);
  M = M * diag ([step step step 1]);
  in = struct ("T1", T1, "brain", brain, "M", M, "scan_step", step);
  inside = brain > 0;
  in.mask = double (inside);
  in.scan = double (brain);
  in.masked = in.scan;
  in.masked(! inside) = NaN;
  in.box = ones (3, 3, 3);

  n = size (T1);
  [i, j, k] = ndgrid (0:n(1)-1, 0:n(2)-1, 0:n(3)-1);
  in = deformation (in, M, i, j, k);
  in = phase_maps (in, inside, i, j, k);
  clear i j k;
  in = classes (in, inside);

  % A 10 degree turn about the scan's vertical axis through its centre, in
  % one-based voxels, sampled every 1.5 voxels.
  c = (n' + 1) / 2;
  R = [cosd(10) -sind(10) 0; sind(10) cosd(10) 0; 0 0 1];
  in.hist_map = [R, c - R * c; 0 0 0 1];
  in.hist_steps = [1.5 1.5 1.5];

  % The brightest tenth of the brain in millimetres, for the glass brain.
  voxels = find (inside);
  values = double (brain(voxels));
  bright = voxels(values >= quantile (values, 0.9));
  [bi, bj, bk] = ind2sub (n, bright);
  xyz = M * [bi' - 1; bj' - 1; bk' - 1; ones(1, numel (bright))];
  in.mip_values = double (brain(bright))';
  in.mip_xyz = xyz(1:3, :);
  in.mip_dims = [1 1 1 400 364];

  % Geodesic parcels from random brain voxels; the parcels also serve as the
  % label image of the region graph.
  rand ("state", 11);
  seeds = voxels(sort (randperm (numel (voxels), merge (quick, 20, 300))));
  [si, sj, sk] = ind2sub (n, seeds);
  in.parcel_seeds = [si sj sk];
  in.parcels = nrx_geo_parcels (in.mask, in.parcel_seeds, "d34");
  in.parcels(! (in.parcels > 0)) = 0;

  in.smooth = convn (in.scan, ones (3, 3, 3) / 27, "same");
  [ci, cj, ck] = ind2sub (n, voxels);
  in.peak_list = [ci cj ck]';

  in.gamma_count = merge (quick, 1e5, 1e7);
  in.samples = int32 (1:28160);
  in.packed = nrx_pack_value (in.masked);

  if (! exist (folder, "dir"))
    mkdir (folder);
  end
  for [value, name] = in
    one = struct (name, {value});
    save ("-v6", fullfile (folder, [name ".mat"]), "-struct", "one");
  end
  f = fopen (fullfile (folder, "source.txt"), "w");
  fprintf (f, source);
  fclose (f);
end

function in = deformation (in, M, i, j, k)
  % A smooth warp of the scan's grid in millimetres (a few millimetres of
  % wobble along each axis), twice: once for the Jacobian and once to be
  % moved in place by a rigid transform (each is its own file, so the
  % workers load them as separate arrays).
  x = M(1,1)*i + M(1,2)*j + M(1,3)*k + M(1,4);
  y = M(2,1)*i + M(2,2)*j + M(2,3)*k + M(2,4);
  z = M(3,1)*i + M(3,2)*j + M(3,3)*k + M(3,4);
  in.field_x = single (x + 3 * sin (y / 15));
  in.field_y = single (y + 3 * sin (z / 17));
  in.field_z = single (z + 3 * sin (x / 13));
  in.moved_x = in.field_x;
  in.moved_y = in.field_y;
  in.moved_z = in.field_z;
  a = 12 * pi / 180;
  in.rigid = [cos(a) -sin(a) 0 2; sin(a) cos(a) 0 -3; 0 0 1 5; 0 0 0 1];
end

function in = phase_maps (in, inside, i, j, k)
  % A field map inside the brain (a linear ramp plus a smooth bump), that
  % map wrapped into [-pi, pi), and a copy with 5% of the brain knocked out
  % (weight 0) for filling.
  n = size (inside);
  in.phase_ramp = [0.12; -0.07; 0.03];
  centre = (n - 1) / 2;
  bump = 2.5 * exp (-((i - n(1)/2).^2 + (j - 0.7*n(2)).^2 + (k - 0.4*n(3)).^2) / (2 * (n(1)/10)^2));
  in.phase = (in.phase_ramp(1) * (i - centre(1)) + in.phase_ramp(2) * (j - centre(2))
              + in.phase_ramp(3) * (k - centre(3)) + bump) .* in.mask;
  in.wrapped = (mod (in.phase + pi, 2 * pi) - pi) .* in.mask;
  rand ("state", 5);
  holes = inside & rand (n) < 0.05;
  in.weights = in.mask;
  in.weights(holes) = 0;
  in.holey = in.phase;
  in.holey(holes) = 0;
end

function in = classes (in, inside)
  % Six tissue classes: Gaussian likelihoods around six intensity centres
  % of the brain, as byte probabilities, with neighbours of one class
  % attracting that class.
  K = 6;
  I = in.scan;
  centres = quantile (I(inside), ((1:K) - 0.5) / K);
  width = max (0.6 * min (diff (centres)), 1);
  in.F = zeros ([size(I) K], "single");
  for c = 1:K
    in.F(:, :, :, c) = single (inside .* exp (-(I - centres(c)).^2 / (2 * width^2)));
  end
  total = sum (in.F, 4);
  total(total == 0) = 1;
  in.P = uint8 (255 * in.F ./ total);
  in.G = single (2 * eye (K));
end
