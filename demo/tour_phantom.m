function [T1, brain, M] = tour_phantom ()
  % A synthetic T1-like head in the 1 mm template's grid: scalp, skull, CSF,
  % grey and white matter and two ventricles, from nested ellipsoids with a
  % folded cortex, and a little noise.
  M = [1 0 0 -90; 0 1 0 -126; 0 0 1 -72; 0 0 0 1];
  [x, y, z] = ndgrid (-90:90, -126:90, -72:108);
  r = @(ax, ay, az, cx, cy, cz) sqrt (((x-cx)/ax).^2 + ((y-cy)/ay).^2 + ((z-cz)/az).^2);
  head = r (78, 100, 85, 0, -15, 15);
  inner = r (68, 88, 74, 0, -15, 15);
  % Grey matter folds: the cortex boundary ripples with the angles.
  folds = 0.04 * sin (9 * atan2 (y + 15, x)) .* cos (7 * atan2 (z - 15, hypot (x, y + 15)));
  cortex = inner + folds;
  T1 = zeros (size (x));
  T1(head < 1) = 170;                          % scalp
  T1(head < 0.93) = 40;                        % skull
  T1(cortex < 0.97) = 30;                      % CSF
  T1(cortex < 0.94) = 100;                     % grey matter
  T1(cortex < 0.80) = 150;                     % white matter
  ventricles = r (6, 22, 9, -9, 0, 20) < 1 | r (6, 22, 9, 9, 0, 20) < 1;
  T1(ventricles) = 30;
  rand ("state", 7);
  T1 = uint8 (T1 + 6 * (rand (size (T1)) - 0.5));
  brain = T1;
  brain(cortex >= 0.97) = 0;
end
