% NRX_ACQ_READ  Copy header words or samples out of the acquisition buffer.
%
%   [H1, H2, H3, H4, H5] = nrx_acq_read()
%   S = nrx_acq_read(P)
%   S = nrx_acq_read(P, N)
%
%   The acquisition buffer is the System V shared-memory segment with key
%   0x39457F73 (67,596,000 bytes): 600 packets, each five int32 header words
%   and 28,160 int32 samples. It is created, zero-filled, if it does not
%   exist yet. Each call attaches it, copies, and detaches it again; nothing
%   is locked, so a call sees whatever the segment holds while it copies.
%
%   With no input: Hk is an int32 1 x 600 row holding header word k of every
%   packet. Asking for fewer than five outputs returns only those rows.
%
%   P  packet number, 1 to 600 (read as P - 1 truncated toward zero, so any
%      0 < P < 601 is accepted and 0 < P < 2 reads packet 1).
%   N  sample count, truncated toward zero and clamped to 0 .. 28160; NaN
%      counts as 0. Inputs after the second are ignored.
%
%   S  int32 1 x N row (1 x 28160 without N): the first samples of packet P.
%
%   Errors: "shmget" (the segment cannot be obtained, for example one with
%   the key exists but is smaller), "shmat", "shmdt", "Cannot read before
%   the first packet" (also for a NaN P), "Cannot read after the last
%   packet".
%
%   See also nrx_acq_write.
