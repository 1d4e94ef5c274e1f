function ok = same_value (a, b)
  % True when B equals A with the same class, size, complexity and
  % sparsity, NaN equal to NaN, and struct fields in the same order, at
  % every level of nesting.
  ok = strcmp (class (a), class (b)) && isequal (size (a), size (b)) ...
       && issparse (a) == issparse (b) && iscomplex (a) == iscomplex (b);
  if (! ok)
    return;
  end
  if (iscell (a))
    ok = all (cellfun (@same_value, a(:), b(:)));
  elseif (isstruct (a))
    ok = isequal (fieldnames (a), fieldnames (b)) ...
         && same_value (struct2cell (a(:)), struct2cell (b(:)));
  elseif (isfloat (a))
    % Bit patterns, so that -0 and +0 differ and every NaN payload counts.
    ok = isequal (float_bits (a), float_bits (b));
  else
    ok = isequal (a, b);
  end
end

function bits = float_bits (x)
  % Sparse arrays: positions, then the bits of the stored values.
  positions = [];
  if (issparse (x))
    [i, j, x] = find (x);
    positions = [i; j];
  end
  if (isa (x, "single"))
    type = "uint32";
  else
    type = "uint64";
  end
  bits = [positions; typecast(real (x(:)), type); typecast(imag (x(:)), type)];
end
