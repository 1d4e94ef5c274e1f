% When the host cannot create a plug-in's output, the call is refused with
% "Out of memory." and the host goes on working. Each case runs in a fresh
% host whose address space is limited, so that the allocation really fails.
% (Not run under the address sanitizer: its shadow memory needs more room
% than the limit leaves.)

%!function out = run_limited (code)
%!  folder = fileparts (which ("nrx_gamma_sampler"));
%!  command = sprintf (["ulimit -v 3000000; '%s' --norc --no-history --no-window-system " ...
%!                      "--eval \"addpath('%s'); %s\" 2>&1"],
%!                     fullfile (OCTAVE_HOME, "bin", "octave-cli"), folder, code);
%!  [~, out] = system (command);
%!endfunction

%!test
%! out = run_limited (["try, nrx_gamma_sampler (2, 1, 2e9, 1); catch e, disp (e.message); end; " ...
%!                     "try, nrx_mip_render (1, [1; 1; 1], [1 1 1 40000 40000]); catch e, disp (e.message); end; " ...
%!                     "disp (sum (nrx_gamma_sampler (2, 0, 3, 1)))"]);
%! assert (strtrim (out), sprintf ("nrx_gamma_sampler: Out of memory.\nnrx_mip_render: Out of memory.\n0"));
