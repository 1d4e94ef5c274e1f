% NRX_ACQ_WRITE  Store header words and samples into one packet of the acquisition buffer.
%
%   nrx_acq_write(P, W1, W2, W3, W4, W5, D)
%
%   The acquisition buffer is the System V shared-memory segment with key
%   0x39457F73 (see nrx_acq_read), created, zero-filled, if it does not exist
%   yet. Each call attaches it, writes, and detaches it again; nothing is
%   locked.
%
%   P       packet number, 1 to 600, truncated toward zero (0.5 is refused).
%   W1..W5  header words 1 to 5 of the packet: the first element of each,
%           truncated toward zero to int32; NaN and values outside the int32
%           range are stored as -2147483648.
%   D       int32 array: its first min(numel(D), 28160) elements, in column
%           order, become samples 1, 2, ... of the packet. Later samples keep
%           what they held.
%
%   The header words are stored first, then the samples. Returns nothing;
%   inputs after the seventh are ignored.
%
%   Errors, in the order checked: "shmget", "shmat", "Not enough input
%   arguments", "Invalid type of data, should be int32" (tested before the
%   packet number), "Cannot write before the first packet", "Cannot write
%   after the last packet" (also for a NaN P), "shmdt".
%
%   See also nrx_acq_read.
