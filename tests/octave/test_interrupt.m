% Ctrl-C during a long call: a second Octave, fed its commands through a pipe
% as if they were typed, gets SIGINT in the middle of a long nrx_morphology
% call and must be back at its prompt within about a second, with no output
% assigned and still working.

%!function text = read_until (stream, pattern, limit, text)
%!  % Appends what stream gives to text until text matches pattern or limit
%!  % seconds have passed.
%!  started = tic ();
%!  while (isempty (regexp (text, pattern, "once")) && toc (started) < limit)
%!    s = fgets (stream);
%!    if (ischar (s))
%!      text = [text s];
%!    else
%!      fclear (stream);
%!      pause (0.05);
%!    endif
%!  endwhile
%!endfunction

%!test
%! options = {"--norc", "--no-history", "--no-window-system", "--no-line-editing", "--interactive"};
%! [to_child, from_child, pid] = popen2 (fullfile (OCTAVE_HOME (), "bin", "octave-cli"), options);
%! unwind_protect
%!   % The kernel is sized from a short run so that the call would take
%!   % minutes in any build, while each piece of it takes only milliseconds.
%!   commands = {sprintf("addpath ('%s');", fileparts (which ("nrx_morphology"))),
%!               "x = rand (200, 200, 200); t0 = tic ();",
%!               "z = nrx_morphology (x(:, :, 1:4), rand (5, 5, 5), 'dilate'); rate = 4e4 * 125 * 4 / toc (t0);",
%!               "edge = max (3, round ((120 * rate / numel (x)) ^ (1 / 3))); k = rand (edge, edge, edge);",
%!               "printf ('started\\n'); fflush (stdout); t0 = tic (); y = nrx_morphology (x, k, 'dilate');",
%!               "printf ('back after %.3f s, y assigned: %d\\n', toc (t0), exist ('y')); fflush (stdout);",
%!               "printf ('still working: %d\\n', 6 * 7); fflush (stdout);"};
%!   fprintf (to_child, "%s\n", commands{:});
%!   fflush (to_child);
%!   out = read_until (from_child, "started", 120, "");
%!   assert (! isempty (strfind (out, "started")), out);
%!   pause (2);
%!   kill (pid, 2);   % SIGINT, as Ctrl-C sends
%!   signalled = tic ();
%!   out = read_until (from_child, "still working: 42", 120, out);
%!   since_signal = toc (signalled);
%!   back = regexp (out, "back after ([0-9.]+) s, y assigned: (\\d)", "tokens", "once");
%!   assert (! isempty (back), out);
%!   assert (back{2}, "0");
%!   assert (str2double (back{1}) > 1.5 && str2double (back{1}) < 2 + 3, out);   % signalled after 2 s
%!   assert (since_signal < 3);
%!   assert (! isempty (strfind (out, "still working: 42")), out);
%!   assert (isempty (strfind (out, "error")), out);
%! unwind_protect_cleanup
%!   % At the end of its input the second Octave quits; should it hang, it
%!   % is ended.
%!   fclose (to_child);
%!   fclose (from_child);
%!   ended = false;
%!   for i = 1:100
%!     ended = waitpid (pid, WNOHANG) == pid;
%!     if (ended)
%!       break;
%!     endif
%!     pause (0.1);
%!   endfor
%!   if (! ended)
%!     kill (pid, 9);
%!     waitpid (pid);
%!   endif
%! end_unwind_protect
