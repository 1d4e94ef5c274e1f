% Plug-in tests of nrx_acq_write, run through the host. They write into the
% acquisition segment, so every block runs only inside the private IPC
% namespace made by scripts/private_ipc.sh and is skipped anywhere else.

%!function [words, samples] = read_packet (p)
%!  [h1, h2, h3, h4, h5] = nrx_acq_read ();
%!  words = [h1(p), h2(p), h3(p), h4(p), h5(p)];
%!  samples = nrx_acq_read (p);
%!endfunction

%!testif ; private_ipc_namespace ()
%! % Header words are truncated to int32; NaN and numbers beyond the int32
%! % range become its most negative value; only the first element counts.
%! acq_replace_segment ();
%! lowest = intmin ("int32");
%! nrx_acq_write (1, 3.9, -3.9, NaN, 3e9, -3e9, int32 ([]));
%! assert (read_packet (1), [3, -3, lowest, lowest, lowest]);
%! nrx_acq_write (2, 2147483647.5, -2147483648.7, -2147483649, Inf, -0.2, int32 ([]));
%! assert (read_packet (2), int32 ([2147483647, -2147483648, lowest, lowest, 0]));
%! nrx_acq_write (600, [7 8 9], int8 (-7), true, "A", single (2.5), int32 ([]));
%! assert (read_packet (600), int32 ([7, -7, 1, 65, 2]));
%! % An empty D changes no sample.
%! assert (nrx_acq_read (1), zeros (1, 28160, "int32"));

%!testif ; private_ipc_namespace ()
%! % D fills samples 1 to numel (D) in column order, at most 28160 of them;
%! % the later samples keep what they held. Inputs after the seventh are ignored.
%! acq_replace_segment ();
%! nrx_acq_write (5, 1, 2, 3, 4, 5, int32 (1:28160));
%! nrx_acq_write (5, 1, 2, 3, 4, 5, int32 ([-1 -3; -2 -4]));
%! [words, samples] = read_packet (5);
%! assert (words, int32 (1:5));
%! assert (samples, int32 ([-1 -2 -3 -4, 5:28160]));
%! nrx_acq_write (5.7, 0, 0, 0, 0, 0, -int32 (1:30000), "ignored", {});
%! assert (nrx_acq_read (5), -int32 (1:28160));
%! % Packets next to the one written are untouched.
%! assert (nrx_acq_read (4), zeros (1, 28160, "int32"));
%! assert (nrx_acq_read (6), zeros (1, 28160, "int32"));

%!testif ; private_ipc_namespace ()
%! % Refusals, in the order they are checked, each after the segment is
%! % detached, and none changes the packet.
%! acq_replace_segment ();
%! nrx_acq_write (600, 1, 2, 3, 4, 5, int32 (1:10));
%! D = int32 (-(1:10));
%! assert_acq_refusal (@() nrx_acq_write (), "nrx_acq_write: Not enough input arguments");
%! assert_acq_refusal (@() nrx_acq_write (600, 9, 9, 9, 9, 9), "nrx_acq_write: Not enough input arguments");
%! % The class of D is tested before the packet number.
%! assert_acq_refusal (@() nrx_acq_write (0, 9, 9, 9, 9, 9, double (D)), "nrx_acq_write: Invalid type of data, should be int32");
%! assert_acq_refusal (@() nrx_acq_write (601, 9, 9, 9, 9, 9, uint32 (1)), "nrx_acq_write: Invalid type of data, should be int32");
%! assert_acq_refusal (@() nrx_acq_write (600, 9, 9, 9, 9, 9, single (D)), "nrx_acq_write: Invalid type of data, should be int32");
%! % One is subtracted after truncation: 0.5 lies before the first packet
%! % (the reader takes it as packet 1).
%! assert_acq_refusal (@() nrx_acq_write (0.5, 9, 9, 9, 9, 9, D), "nrx_acq_write: Cannot write before the first packet");
%! assert_acq_refusal (@() nrx_acq_write (0, 9, 9, 9, 9, 9, D), "nrx_acq_write: Cannot write before the first packet");
%! assert_acq_refusal (@() nrx_acq_write (-5, 9, 9, 9, 9, 9, D), "nrx_acq_write: Cannot write before the first packet");
%! assert_acq_refusal (@() nrx_acq_write (601, 9, 9, 9, 9, 9, D), "nrx_acq_write: Cannot write after the last packet");
%! % NaN and numbers beyond the int32 range become its most negative value,
%! % and one less than that wraps round to after the last packet.
%! assert_acq_refusal (@() nrx_acq_write (NaN, 9, 9, 9, 9, 9, D), "nrx_acq_write: Cannot write after the last packet");
%! assert_acq_refusal (@() nrx_acq_write (3e9, 9, 9, 9, 9, 9, D), "nrx_acq_write: Cannot write after the last packet");
%! assert_acq_refusal (@() nrx_acq_write (-3e9, 9, 9, 9, 9, 9, D), "nrx_acq_write: Cannot write after the last packet");
%! % A header word that is not a number is refused before anything is written.
%! assert_acq_refusal (@() nrx_acq_write (600, 9, 9, 9, 9, {}, D), "nrx_acq_write: Header words must be numbers");
%! assert_acq_refusal (@() nrx_acq_write (600, 9, [], 9, 9, 9, D), "nrx_acq_write: Header words must be numbers");
%! assert_acq_refusal (@() nrx_acq_write ({600}, 9, 9, 9, 9, 9, D), "nrx_acq_write: Cannot write after the last packet");
%! [words, samples] = read_packet (600);
%! assert (words, int32 (1:5));
%! assert (samples(1:11), int32 ([1:10, 0]));

%!testif ; private_ipc_namespace ()
%! % A segment with the key that is too small cannot be obtained, and is
%! % tested before the arguments.
%! acq_replace_segment (4096);
%! assert_acq_refusal (@() nrx_acq_write (1, 1, 2, 3, 4, 5, int32 (1)), "nrx_acq_write: shmget");
%! assert_acq_refusal (@() nrx_acq_write (1), "nrx_acq_write: shmget");
%! [attached, bytes] = acq_segment ();
%! assert ([attached, bytes], [0, 4096]);
%! acq_replace_segment ();
