function s = tour_axial (volume, k)
  % Axial slice k of a volume in display orientation: anterior up, the
  % subject's right on the right (x grows to the right).
  s = rot90 (volume(:, :, k));
end
