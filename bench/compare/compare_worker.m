function compare_worker (inputs, nifti_file)
  % COMPARE_WORKER  A long-lived host process of the comparison.
  %
  %   compare_worker (inputs, nifti_file)
  %
  % Reads commands from standard input (the host started with
  % --no-line-editing), one a line, until "quit" or the end:
  %
  %   run CASE SIDE REPEAT NAME,NAME,...
  %
  % loads the named inputs from <inputs>/<NAME>.mat (once; "-" for none),
  % then times REPEAT calls of the case's plug-in (SIDE "nrx") or of the
  % host's own peer (SIDE "peer") with tic/toc, outputs included, and
  % answers on a line of its own "@@time SECONDS" (per call) or
  % "@@error MESSAGE". Plug-ins may print too; the driver skips those lines.
  % The acquisition cases run only inside a private IPC namespace.
  sigterm_dumps_octave_core (false);
  sighup_dumps_octave_core (false);
  in = struct ();
  while (true)
    try
      line = input ("", "s");   % line by line from a pipe, where fgetl waits for a full buffer
    catch
      break;                    % end of input
    end
    if (strcmp (line, "quit"))
      break;
    end
    try
      words = strsplit (line, " ");
      [name, side, repeat, needed] = deal (words{2}, words{3}, str2double (words{4}), words{5});
      in = load_inputs (in, inputs, needed);
      seconds = time_calls (name, side, repeat, in, nifti_file);
      printf ("\n@@time %.9g\n", seconds);
    catch err
      printf ("\n@@error %s\n", strrep (err.message, "\n", " "));
    end
    fflush (stdout);
  end
end

function in = load_inputs (in, folder, needed)
  if (strcmp (needed, "-"))
    return;
  end
  for name = strsplit (needed, ",")
    if (! isfield (in, name{1}))
      in.(name{1}) = load (fullfile (folder, [name{1} ".mat"])).(name{1});
    end
  end
end

function seconds = time_calls (name, side, repeat, in, nifti_file)
  if (strncmp (name, "acq_", 4) && ! private_ipc_namespace ())
    error ("the acquisition segment is touched only inside a private IPC namespace");
  end
  if (strcmp (side, "nrx"))
    [call, outputs] = compare_nrx (name, in, nifti_file);
  else
    [call, outputs] = compare_octave_peer (name, in);
  end
  results = cell (1, outputs);     % none: the call is made with no output
  t0 = tic ();
  for r = 1:repeat
    [results{:}] = call ();
  end
  seconds = toc (t0) / repeat;
end
