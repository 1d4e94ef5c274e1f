function compare_chart (file, names, one, all)
  % COMPARE_CHART  Bar chart of peer time over nrx time, one pair of bars a case.
  %
  %   compare_chart (file, names, one, all)
  %
  % one and all are the ratios against nrx at one thread and at all threads
  % (NaN where a case has none). Bars are drawn on a log2 scale from 1, so a
  % bar to the right means nrx is faster; written as a PNG without a window
  % (underscores in names become spaces: gnuplot reads them as subscripts).
  warning ("off", "Octave:gnuplot-graphics");
  graphics_toolkit ("gnuplot");
  n = numel (names);
  f = figure ("visible", "off", "position", [0, 0, 900, 60 + 24 * n]);
  bars = log2 ([one(:) all(:)]);
  h = barh (1:n, bars, 0.8);
  set (h(1), "facecolor", [0.2 0.4 0.8]);
  set (h(2), "facecolor", [0.9 0.5 0.1]);
  ticks = floor (min ([bars(:); 0])):ceil (max ([bars(:); 0]));
  set (gca (), "ytick", 1:n, "yticklabel", strrep (names, "_", " "), "ydir", "reverse",
       "xtick", ticks, "xticklabel", arrayfun (@(t) sprintf ("%gx", 2^t), ticks, "UniformOutput", false),
       "xgrid", "on");
  xlabel ("peer time / nrx time (right of 1x: nrx is faster)");
  legend ({"nrx at 1 thread", "nrx at all threads"}, "location", "northoutside", "orientation", "horizontal");
  print (f, "-dpng", file);
  close (f);
end
