function status = nrx_tour (out, scans)
  % NRX_TOUR  A tour of every nrx plug-in on a real brain scan.
  %
  %   status = nrx_tour (out)
  %   status = nrx_tour (out, scans)
  %
  % Runs each step of a small study on the 1 mm T1 template found in the
  % folder scans (by default where Debian's scan package puts it), or on a
  % synthetic head when it is missing, prints a table of step, plug-in, key
  % figure and time, and writes PNG pictures and index.html into the folder
  % out. status is 0 when every step succeeded.
  if (nargin < 1)
    out = fullfile (pwd (), "tour");
  end
  if (nargin < 2)
    scans = "/usr/share/mricron/templates";
  end
  if (! exist (out, "dir"))
    mkdir (out);
  end
  data = tour_data (scans);
  printf ("nrx tour on %s\n\n", data.source);
  printf ("%-14s %-20s %-76s %9s\n", "step", "plug-in", "key figure", "time/call");

  steps = {@tour_registration, @tour_deformation, @tour_classes, @tour_parcels, ...
           @tour_projection, @tour_phase, @tour_statistics, @tour_acquisition, @tour_exchange};
  rows = struct ("step", {}, "plugin", {}, "figure", {}, "seconds", {});
  if (! isnan (data.read_seconds))
    rows(1) = struct ("step", "data", "plugin", "nrx_nifti_read",
                      "figure", sprintf ("%d x %d x %d T1 scan and its brain-only version", size (data.T1)),
                      "seconds", data.read_seconds);
    print_row (rows(1));
  end
  pictures = struct ("file", {}, "caption", {});
  failures = {};
  results = struct ();
  for i = 1:numel (steps)
    name = func2str (steps{i});
    try
      [step_rows, step_pictures, results] = steps{i} (data, out, results);
      arrayfun (@print_row, step_rows);
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

function print_row (r)
  printf ("%-14s %-20s %-76s %7.3f s\n", r.step, r.plugin, r.figure, r.seconds);
end
