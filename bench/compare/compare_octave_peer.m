function [call, outputs] = compare_octave_peer (name, in)
  % COMPARE_OCTAVE_PEER  The host's own function that does a case's job,
  % where it is the fastest peer; the same calling form as compare_nrx.
  outputs = 1;
  switch (name)
    case "gamma_shape2"
      call = @() randg (2, in.gamma_count, 1);
    case "gamma_shape0.5"
      call = @() randg (0.5, in.gamma_count, 1);
    otherwise
      error ("compare_octave_peer: no case %s", name);
  end
end
