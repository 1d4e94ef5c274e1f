function tour_picture (file, image, map, limits, scale)
  % Writes a 2-D array as a PNG: values mapped linearly from limits(1)
  % (first colour of map) to limits(2) (last colour), NaN black, each pixel
  % repeated scale x scale times.
  if (nargin < 5)
    scale = 2;
  end
  n = rows (map);
  index = round ((double (image) - limits(1)) / (limits(2) - limits(1)) * (n - 1)) + 1;
  index = min (max (index, 1), n);
  rgb = ind2rgb (index, map);
  rgb(repmat (isnan (image), [1 1 3])) = 0;
  rgb = repelem (rgb, scale, scale, 1);
  imwrite (rgb, file);
end
