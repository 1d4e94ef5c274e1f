% Plug-in tests of nrx_acq_read, run through the host. They write into the
% acquisition segment, so every block runs only inside the private IPC
% namespace made by scripts/private_ipc.sh and is skipped anywhere else.

%!function D = known_samples (p)
%!  % Samples that tell packets apart: packet p holds p*100000 + (1:28160).
%!  D = int32 (p * 100000 + (1:28160));
%!endfunction

%!testif ; private_ipc_namespace ()
%! % The first call creates the segment, zero-filled, and leaves it detached.
%! acq_replace_segment ();
%! [h1, h2, h3, h4, h5] = nrx_acq_read ();
%! [attached, bytes, perms] = acq_segment ();
%! assert ([attached, bytes], [0, 67596000]);
%! assert (perms, "644");
%! for h = {h1, h2, h3, h4, h5}
%!   assert (h{1}, zeros (1, 600, "int32"));
%! end
%! assert (nrx_acq_read (600), zeros (1, 28160, "int32"));

%!testif ; private_ipc_namespace ()
%! % Header word k of packet p is element p of output k, for packets 1 and 600 too.
%! acq_replace_segment ();
%! for p = [1 2 599 600]
%!   nrx_acq_write (p, 10*p + 1, 10*p + 2, 10*p + 3, 10*p + 4, 10*p + 5, int32 ([]));
%! end
%! expected = zeros (5, 600, "int32");
%! expected(:, [1 2 599 600]) = (1:5)' + 10 * [1 2 599 600];
%! [h1, h2, h3, h4, h5] = nrx_acq_read ();
%! assert ([h1; h2; h3; h4; h5], expected);
%! % Fewer outputs, none included, fill only the slots the host provides.
%! [h1, h2] = nrx_acq_read ();
%! assert ([h1; h2], expected(1:2, :));
%! h1 = nrx_acq_read ();
%! assert (h1, expected(1, :));
%! nrx_acq_read ();
%! assert (ans, expected(1, :));
%! assert (acq_segment (), 0);
%! % A sixth output is the host's error; the five rows are still filled.
%! try
%!   [h1, h2, h3, h4, h5, h6] = nrx_acq_read ();
%!   error ("a sixth output was returned");
%! catch err
%!   assert (err.message, "element number 6 undefined in return list");
%! end
%! assert (acq_segment (), 0);

%!testif ; private_ipc_namespace ()
%! % Samples of packets 1, 7 and 600, and the one-based packet numbers
%! % (P - 1 is truncated, so 0.5 and 1.99 read packet 1 and 600.9 packet 600).
%! acq_replace_segment ();
%! for p = [1 7 600]
%!   nrx_acq_write (p, 0, 0, 0, 0, 0, known_samples (p));
%! end
%! assert (nrx_acq_read (1), known_samples (1));
%! assert (nrx_acq_read (7), known_samples (7));
%! assert (nrx_acq_read (600), known_samples (600));
%! assert (nrx_acq_read (0.5), known_samples (1));
%! assert (nrx_acq_read (1.99), known_samples (1));
%! assert (nrx_acq_read (600.9), known_samples (600));
%! assert (nrx_acq_read (int8 (7)), known_samples (7));
%! % Writing 10 samples changes only those: the rest are the earlier samples.
%! nrx_acq_write (7, 0, 0, 0, 0, 0, int32 (-(1:10)));
%! assert (nrx_acq_read (7), [int32(-(1:10)), known_samples(7)(11:end)]);

%!testif ; private_ipc_namespace ()
%! % The sample count is truncated and clamped to 0 .. 28160; only a second
%! % input is a count, later inputs are ignored.
%! acq_replace_segment ();
%! nrx_acq_write (3, 0, 0, 0, 0, 0, known_samples (3));
%! empty = zeros (1, 0, "int32");
%! assert (nrx_acq_read (3, 0), empty);
%! assert (nrx_acq_read (3, -5), empty);
%! assert (nrx_acq_read (3, 0.9), empty);
%! assert (nrx_acq_read (3, NaN), empty);
%! assert (nrx_acq_read (3, -Inf), empty);
%! assert (nrx_acq_read (3, 1), known_samples (3)(1));
%! assert (nrx_acq_read (3, 10.7), known_samples (3)(1:10));
%! assert (nrx_acq_read (3, 28159), known_samples (3)(1:28159));
%! assert (nrx_acq_read (3, 1e6), known_samples (3));
%! % Beyond the 32-bit range a count becomes the most negative integer: none.
%! assert (nrx_acq_read (3, Inf), empty);
%! assert (nrx_acq_read (3, 3e9), empty);
%! assert (nrx_acq_read (3, 5, 7), known_samples (3));
%! assert (nrx_acq_read (3, 5, "ignored", {}), known_samples (3));

%!testif ; private_ipc_namespace ()
%! % Packet numbers outside 1 .. 600 are refused after the segment is detached;
%! % the count is worked out first, and NaN or huge numbers lie before the first.
%! acq_replace_segment ();
%! assert_acq_refusal (@() nrx_acq_read (0), "nrx_acq_read: Cannot read before the first packet");
%! assert_acq_refusal (@() nrx_acq_read (-0.5), "nrx_acq_read: Cannot read before the first packet");
%! assert_acq_refusal (@() nrx_acq_read (NaN), "nrx_acq_read: Cannot read before the first packet");
%! assert_acq_refusal (@() nrx_acq_read (NaN, 5), "nrx_acq_read: Cannot read before the first packet");
%! assert_acq_refusal (@() nrx_acq_read (-Inf), "nrx_acq_read: Cannot read before the first packet");
%! assert_acq_refusal (@() nrx_acq_read (Inf), "nrx_acq_read: Cannot read before the first packet");
%! assert_acq_refusal (@() nrx_acq_read (3e9), "nrx_acq_read: Cannot read before the first packet");
%! assert_acq_refusal (@() nrx_acq_read (601), "nrx_acq_read: Cannot read after the last packet");
%! assert_acq_refusal (@() nrx_acq_read (601, 0), "nrx_acq_read: Cannot read after the last packet");
%! assert_acq_refusal (@() nrx_acq_read (2e9), "nrx_acq_read: Cannot read after the last packet");
%! % A packet number that is not a number at all counts as NaN.
%! assert_acq_refusal (@() nrx_acq_read ([]), "nrx_acq_read: Cannot read before the first packet");
%! assert_acq_refusal (@() nrx_acq_read ({3}), "nrx_acq_read: Cannot read before the first packet");

%!testif ; private_ipc_namespace ()
%! % A segment with the key that is too small cannot be obtained.
%! acq_replace_segment (4096);
%! assert_acq_refusal (@() nrx_acq_read (), "nrx_acq_read: shmget");
%! assert_acq_refusal (@() nrx_acq_read (1), "nrx_acq_read: shmget");
%! [attached, bytes] = acq_segment ();
%! assert ([attached, bytes], [0, 4096]);
%! acq_replace_segment ();
