function [names, values] = sample_values ()
  % Named values of every kind the packing plug-ins must carry unchanged:
  % each numeric class (real, complex where the host has it, limits and
  % special values), logical, char (ASCII, UTF-8, invalid UTF-8, several
  % rows, N-D), nested cells, structs (field order, arrays, empty arrays
  % with fields, no fields), sparse double and logical, empty arrays of
  % every class with their sizes, and N-D arrays.
  samples = {
    "double",          [1.5 -0; NaN -Inf];
    "double_nd",       reshape((1:24) / 7, 2, 3, 4);
    "double_complex",  [1+2i, -0-3i; Inf-1i, NaN];
    "single",          single([pi; -1e-40; Inf]);
    "single_complex",  single([1+2i, 3]);
    "logical",         logical([1 0 1; 0 1 0]);
    "logical_nd",      reshape((1:24) > 10, 2, 3, 4);
    "text",            "hello";
    "text_utf8",       "é€x";
    "text_astral",     ["a" char([240 159 152 128]) "b"];
    "text_rows",       ["ab"; "cd"];
    "text_rows_utf8",  ["éa"; "bé"];
    "text_invalid",    char([200 65]);
    "text_nd",         reshape("abcdefgh", 2, 2, 2);
    "text_empty",      "";
    "text_empty_row",  char(zeros(1, 0));
    "cell",            {1, "a"; {int8(2), {}}, struct("x", {})};
    "cell_nd",         reshape({1, "b", [], {}}, 2, 1, 2);
    "struct",          struct("zeta", 1, "alpha", "x", "mid", {{1, 2}});
    "struct_array",    struct("a", {1, "two", []; {3}, -1, 0}, "b", 7);
    "struct_empty",    struct("b", {}, "a", {});
    "struct_empty_03", reshape(struct("a", {}), 0, 3);
    "struct_nofields", struct();
    "struct_nested",   struct("inner", struct("c", {{struct("d", 5)}}));
    "sparse",          sparse([1 0; 0 2.5; 0 -0.5]);
    "sparse_complex",  sparse([0 1i; 2 0]);
    "sparse_empty",    sparse(3, 4);
    "sparse_logical",  sparse(logical([1 0; 0 1; 1 1]));
    "cell_empty",      cell(0, 2);
    "double_empty_nd", zeros(1, 0, 4);
    "logical_empty",   false(2, 0);
  };
  for c = {"int8", "uint8", "int16", "uint16", "int32", "uint32", "int64", "uint64"}
    samples(end+1, :) = {c{1}, [intmin(c{1}) 0 1 intmax(c{1})]};
    samples(end+1, :) = {[c{1} "_nd"], reshape(cast(1:8, c{1}), 2, 2, 2)};
  end
  for c = {"double", "single", "int8", "uint8", "int16", "uint16", "int32", "uint32", "int64", "uint64"}
    samples(end+1, :) = {[c{1} "_empty"], zeros(0, 3, c{1})};
  end
  names = samples(:, 1);
  values = samples(:, 2);
end
