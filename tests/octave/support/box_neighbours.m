function [e, u] = box_neighbours (map_size, kernel_size, v)
  % Kernel elements e and the map voxels u they cover when the kernel is
  % centred on map voxel v (all one-based linear indices), in sweep order:
  % first kernel index outermost, third innermost. Kernel index a covers map
  % index x + a - floor(size/2) - 1 along each axis; voxels outside the map
  % are left out. Sizes are padded to three dimensions.
  map_size(end+1:3) = 1;
  kernel_size(end+1:3) = 1;
  [x, y, z] = ind2sub (map_size, v);
  e = u = zeros (0, 1);
  for a = 1:kernel_size(1)
    for b = 1:kernel_size(2)
      for c = 1:kernel_size(3)
        p = [x y z] + [a b c] - floor (kernel_size / 2) - 1;
        if (all (p >= 1 & p <= map_size))
          e(end+1, 1) = sub2ind (kernel_size, a, b, c);
          u(end+1, 1) = sub2ind (map_size, p(1), p(2), p(3));
        end
      end
    end
  end
end
