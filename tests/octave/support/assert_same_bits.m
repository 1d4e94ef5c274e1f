function assert_same_bits (a, b)
  % Asserts that two arrays have the same size and the same bit patterns, so
  % that -0 against +0 and NaN against NaN are told apart.
  assert (size (a), size (b));
  assert (class (a), class (b));
  assert (typecast (a(:), "uint8"), typecast (b(:), "uint8"));
end
