function [rows, pictures, results] = tour_acquisition (data, out, results)
  % Live packets: the stand-in acquisition process writes a packet every
  % 5 ms for three seconds while the tour reads the headers of all 600
  % packets and the newest whole packet, and measures the packet rate.
  %
  % The segment has a fixed key that a scanner's own acquisition may use,
  % so this runs only inside a private IPC namespace (scripts/demo.sh makes
  % one where it can); anywhere else the step is skipped with a message.
  pictures = struct ("file", {}, "caption", {});
  [own, err] = readlink ("/proc/self/ns/ipc");
  if (err != 0 || isempty (own) || ! strcmp (own, getenv ("NRX_PRIVATE_IPC_NAMESPACE")))
    rows = struct ("step", "acquisition", "plugin", "nrx_acq_read",
                   "figure", "skipped: not in a private IPC namespace (needs root or user namespaces)",
                   "seconds", 0);
    return;
  end

  program = fullfile (fileparts (which ("nrx_acq_read")), "nrx_acq_standin");
  % Its progress lines go into the pipe rather than across the table.
  [in, output, pid] = popen2 ("/bin/sh", {"-c", sprintf('exec "%s" --interval 5 --count 600 2>&1', program)});
  unwind_protect
    pause (0.2);                       % the stand-in creates the segment
    reads = whole = 0;
    seen = [];
    header_time = 0;
    t0 = tic ();
    while (toc (t0) < 3)
      t = tic ();
      [h1, ~, ~, ~, h5] = nrx_acq_read ();
      header_time += toc (t);
      reads += 1;
      complete = h1 == h5 & h1 > 0;
      if (! any (complete))
        continue;
      end
      [newest, packet] = max (h1 .* complete);
      seen(end+1, :) = [toc(t0) double(newest)];
      % The newest packet's samples are whole when its header still shows
      % the same sequence number after the copy.
      S = nrx_acq_read (packet);
      [g1, ~, ~, ~, g5] = nrx_acq_read ();
      if (g1(packet) == newest && g5(packet) == newest)
        assert (S, int32 (double (newest) + (0:28159)));
        whole += 1;
      end
      pause (0.02);
    end
  unwind_protect_cleanup
    waitpid (pid);
    fclose (in);
    fclose (output);
  end_unwind_protect
  rate = (seen(end, 2) - seen(1, 2)) / (seen(end, 1) - seen(1, 1));
  rows = struct ("step", "acquisition", "plugin", "nrx_acq_read",
                 "figure", sprintf ("%.0f packets/s seen live (written every 5 ms), %d whole packets checked",
                                    rate, whole),
                 "seconds", header_time / reads);

  % With the stand-in stopped, the tour writes a marker packet of its own
  % and reads it back.
  marker = int32 (-(1:28160));
  tic;
  nrx_acq_write (600, 1, 600, 28160, 0, 1, marker);
  seconds = toc;
  [h1, h2] = nrx_acq_read ();
  same = isequal (nrx_acq_read (600), marker) && h1(600) == 1 && h2(600) == 600;
  rows(2) = struct ("step", "acquisition", "plugin", "nrx_acq_write",
                    "figure", sprintf ("marker packet 600 written and read back %s", merge (same, "intact", "CHANGED")),
                    "seconds", seconds);
  if (! same)
    error ("the marker packet did not read back as written");
  end
  results.acquisition_rate = rate;
end
