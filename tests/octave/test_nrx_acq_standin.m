% Tests of the stand-in acquisition program nrx_acq_standin (built beside the
% plug-ins), read through nrx_acq_read. They run only inside the private IPC
% namespace made by scripts/private_ipc.sh and are skipped anywhere else.

%!function [status, output] = standin (options)
%!  program = fullfile (fileparts (which ("nrx_acq_read")), "nrx_acq_standin");
%!  [status, output] = system ([program " " options " 2>&1"]);
%!endfunction

%!function status = stop (pid)
%!  % Sends SIGTERM and waits for the process to end, killing it after 10 s.
%!  kill (pid, SIG ().TERM);
%!  t0 = tic ();
%!  while (true)
%!    [ended, status] = waitpid (pid, WNOHANG ());
%!    if (ended == pid)
%!      return;
%!    elseif (toc (t0) > 10)
%!      kill (pid, SIG ().KILL);
%!      [~, status] = waitpid (pid);
%!      return;
%!    end
%!    pause (0.01);
%!  end
%!endfunction

%!function H = headers ()
%!  [h1, h2, h3, h4, h5] = nrx_acq_read ();
%!  H = double ([h1; h2; h3; h4; h5]);
%!endfunction

%!function check_complete_headers (H)
%!  % Every packet whose words 1 and 5 agree holds the header words of that
%!  % sequence number: its own packet number, the sample count, a time.
%!  complete = find (H(1, :) == H(5, :) & H(1, :) > 0);
%!  s = H(1, complete);
%!  assert (mod (s - 1, 600) + 1, complete);
%!  assert (H(2, complete), complete);
%!  assert (all (H(3, complete) == 28160));
%!  assert (all (H(4, complete) >= 0));
%!endfunction

%!testif ; private_ipc_namespace ()
%! % A counted run on a new segment: packets 1 to 5 hold sequence numbers 1
%! % to 5, the others stay zero; --keep leaves the segment in place.
%! acq_replace_segment ();
%! [status, output] = standin ("--count 5 --interval 1 --keep");
%! assert (status, 0, output);
%! % Its messages show the segment key in hex, 0x and upper-case digits.
%! assert (! isempty (strfind (output, "sequence number 1 into a new segment 0x39457F73\n")), output);
%! H = headers ();
%! assert (H(:, 1:5), [1:5; 1:5; 28160 * ones(1, 5); H(4, 1:5); 1:5]);
%! assert (all (diff (H(4, 1:5)) >= 0));
%! assert (H(:, 6:end), zeros (5, 595));
%! assert (nrx_acq_read (3), int32 (3 + (0:28159)));
%! [~, newest] = max (H(1, :));
%! assert (newest, 5);
%! % Without --existing it refuses a segment that is already there.
%! [status, output] = standin ("--count 5");
%! assert (status, 1);
%! assert (! isempty (strfind (output, "pass --existing")), output);
%! assert (! isempty (strfind (output, "a segment with key 0x39457F73 already exists")), output);
%! assert (headers (), H);
%! % With it, it continues the numbering, wraps round to packet 1 and leaves
%! % the segment it did not create in place.
%! [status, output] = standin ("--count 600 --interval 0 --existing");
%! assert (status, 0, output);
%! H = headers ();
%! check_complete_headers (H);
%! assert (H(1, :), [601:605, 6:600]);
%! assert (nrx_acq_read (5), int32 (605 + (0:28159)));
%! [~, newest] = max (H(1, :));
%! assert (newest, 5);
%! assert (acq_segment (), 0);

%!testif ; private_ipc_namespace ()
%! % A segment the stand-in created goes when it stops; a bad option changes nothing.
%! acq_replace_segment ();
%! [status, output] = standin ("--count 2 --interval 0");
%! assert (status, 0, output);
%! assert (acq_segment (), -1);
%! [status, output] = standin ("--interval -3");
%! assert (status, 2);
%! assert (! isempty (strfind (output, "usage: nrx_acq_standin")), output);
%! assert (! isempty (strfind (output, "(System V key 0x39457F73),\n")), output);
%! assert (acq_segment (), -1);

%!testif ; private_ipc_namespace ()
%! % A reader running while the stand-in writes as fast as it can: header
%! % copies are consistent with the packet scheme, and samples copied between
%! % two header copies that show the packet complete with the same sequence
%! % number are exactly that packet's samples.
%! acq_replace_segment ();
%! nrx_acq_read ();   % the segment exists before the stand-in starts
%! program = fullfile (fileparts (which ("nrx_acq_read")), "nrx_acq_standin");
%! [in, out, pid] = popen2 (program, {"--interval", "0", "--existing"});
%! unwind_protect
%!   accepted = rejected = 0;
%!   newest = 0;
%!   t0 = tic ();
%!   while (toc (t0) < 1.5 || accepted == 0)
%!     assert (toc (t0) < 30, "no packet could be read whole");
%!     before = headers ();
%!     check_complete_headers (before);
%!     % Sequence numbers only grow.
%!     assert (max (before(1, :)) >= newest);
%!     [newest, p] = max (before(1, :));
%!     if (newest == 0)
%!       continue;
%!     end
%!     % Alternately the newest packet and the one after it, which the
%!     % stand-in is about to overwrite.
%!     if (mod (accepted + rejected, 2))
%!       p = mod (p, 600) + 1;
%!     end
%!     S = nrx_acq_read (p);
%!     after = headers ();
%!     s = before(1, p);
%!     if (s > 0 && all ([before([1 5], p); after([1 5], p)] == s))
%!       assert (S, int32 (s + (0:28159)));
%!       accepted += 1;
%!     else
%!       rejected += 1;
%!     end
%!   end
%!   printf ("%d packets read whole, %d caught while being written\n", accepted, rejected);
%! unwind_protect_cleanup
%!   status = stop (pid);
%!   fclose (in);
%!   fclose (out);
%! end_unwind_protect
%! assert (WIFEXITED (status) && WEXITSTATUS (status) == 0, "the stand-in did not stop cleanly on SIGTERM");
%! % It leaves the segment it did not create, detached.
%! assert (acq_segment (), 0);
%! check_complete_headers (headers ());
