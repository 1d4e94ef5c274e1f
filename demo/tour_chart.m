function tour_chart (file, x, y, marker)
  % A small line chart of y against x as a PNG, drawn without a graphics
  % window: grey axes frame, the curve in blue with a dot at each sample,
  % and a red vertical line at x = marker.
  w = 480; h = 240; pad = 20;
  img = ones (h, w, 3);
  px = @(v) round (pad + (v - min (x)) / (max (x) - min (x)) * (w - 2*pad));
  span = max (y) - min (y) + (max (y) == min (y));
  py = @(v) round (h - pad - (v - min (y)) / span * (h - 2*pad));
  img([pad h-pad], pad:w-pad, :) = 0.6;
  img(pad:h-pad, [pad w-pad], :) = 0.6;
  img(pad:h-pad, px (marker), :) = repmat (reshape ([0.85 0.1 0.1], 1, 1, 3), h - 2*pad + 1, 1);
  for i = 1:numel (x) - 1
    for t = linspace (0, 1, 60)
      c = px (x(i) + t * (x(i+1) - x(i)));
      r = py (y(i) + t * (y(i+1) - y(i)));
      img(r, c, :) = reshape ([0.1 0.3 0.8], 1, 1, 3);
    end
  end
  for i = 1:numel (x)
    img(py (y(i)) + (-2:2), px (x(i)) + (-2:2), :) = repmat (reshape ([0.1 0.3 0.8], 1, 1, 3), 5, 5);
  end
  imwrite (img, file);
end
