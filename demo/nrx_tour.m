function status = nrx_tour (out)
  % NRX_TOUR  A tour of every nrx plug-in on a real brain scan.
  %
  %   status = nrx_tour (out)
  %
  % Runs each step of a small study on the 1 mm T1 template (or a synthetic
  % head when the scan package is missing), prints a table of step,
  % plug-in, key figure and time, and writes PNG pictures and index.html
  % into the folder out. status is 0 when every step succeeded.
  if (nargin < 1)
    out = fullfile (pwd (), "tour");
  end
  if (! exist (out, "dir"))
    mkdir (out);
  end
  data = tour_data ();
  printf ("nrx tour on %s\n\n", data.source);

  steps = {@tour_registration, @tour_deformation, @tour_classes, @tour_parcels, ...
           @tour_projection, @tour_phase, @tour_statistics, @tour_acquisition, @tour_exchange};
  rows = struct ("step", {}, "plugin", {}, "figure", {}, "seconds", {});
  pictures = struct ("file", {}, "caption", {});
  failures = {};
  results = struct ();
  for i = 1:numel (steps)
    name = func2str (steps{i});
    try
      [step_rows, step_pictures, results] = steps{i} (data, out, results);
      for r = step_rows
        printf ("%-14s %-20s %-58s %7.2f s\n", r.step, r.plugin, r.figure, r.seconds);
      end
      rows = [rows step_rows];
      pictures = [pictures step_pictures];
    catch err
      failures{end+1} = sprintf ("%s failed: %s", name, err.message);
      printf ("%s\n", failures{end});
    end
  end

  tour_report (fullfile (out, "index.html"), data, rows, pictures, failures);
  printf ("\n%d steps, %d failed. Pictures and report: %s\n", numel (steps), numel (failures),
          fullfile (out, "index.html"));
  status = double (! isempty (failures));
end
