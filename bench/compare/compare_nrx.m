function [call, outputs] = compare_nrx (name, in, nifti_file)
  % COMPARE_NRX  The plug-in call of one case of the comparison.
  %
  %   [call, outputs] = compare_nrx (name, in, nifti_file)
  %
  % call is a function handle that makes the call on the inputs in (a
  % struct of the case's input arrays) and outputs the number of results to
  % ask of it, so that they are made and handed back as a user would get
  % them. nifti_file is the scan file the reader case reads.
  outputs = 1;
  switch (name)
    case "warp_jacobian"
      call = @() nrx_warp_jacobian (in.field_x, in.field_y, in.field_z, in.M);
    case "warp_affine"
      call = @() nrx_warp_affine (in.moved_x, in.moved_y, in.moved_z, in.rigid);
      outputs = 0;
    case "joint_histogram"
      call = @() nrx_joint_histogram (in.T1, in.brain, in.hist_map, in.hist_steps);
    case "mip_render"
      call = @() nrx_mip_render (in.mip_values, in.mip_xyz, in.mip_dims);
    case "region_graph"
      call = @() nrx_region_graph (in.parcels, in.phase);
      outputs = 4;
    case "ramp_fit"
      call = @() nrx_ramp_fit (in.wrapped, in.mask);
      outputs = 2;
    case "ramp_add"
      call = @() nrx_ramp_add (in.phase, in.mask, in.phase_ramp);
    case "phase_fill"
      call = @() nrx_phase_fill (in.holey, in.weights, in.box);
      outputs = 2;
    case "weighted_blur"
      call = @() nrx_weighted_blur (in.phase, in.weights, in.box);
    case "label_relax"
      call = @() nrx_label_relax (in.P, in.F, in.G);
    case "geo_parcels"
      call = @() nrx_geo_parcels (in.mask, in.parcel_seeds, "d34");
      outputs = 2;
    case "local_peaks"
      call = @() nrx_local_peaks (in.smooth, in.peak_list);
    case "morphology"
      call = @() nrx_morphology (in.scan, in.box, "dilate");
    case {"nan_reduce_1", "nan_reduce_2", "nan_reduce_3"}
      dim = str2double (name(end));
      call = @() nrx_nan_reduce (in.masked, dim);
    case "gamma_shape2"
      call = @() nrx_gamma_sampler (2, 1, in.gamma_count, 1);
    case "gamma_shape0.5"
      call = @() nrx_gamma_sampler (0.5, 1, in.gamma_count, 1);
    case "acq_read_headers"
      call = @() nrx_acq_read ();
      outputs = 5;
    case "acq_read_packet"
      call = @() nrx_acq_read (17);
    case "acq_write"
      call = @() nrx_acq_write (17, 1, 17, 28160, 0, 1, in.samples);
      outputs = 0;
    case "pack_value"
      call = @() nrx_pack_value (in.masked);
    case "unpack_value"
      call = @() nrx_unpack_value (in.packed);
    case "nifti_read"
      call = @() nrx_nifti_read (nifti_file);
      outputs = 2;
    otherwise
      error ("compare_nrx: no case %s", name);
  end
end
