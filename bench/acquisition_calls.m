% Per-call times of nrx_acq_read and nrx_acq_write through the host, after a
% first call that loads the plug-ins and creates the segment. Writes into the
% acquisition segment, so it runs only in a private IPC namespace:
%
%   scripts/private_ipc.sh octave-cli --norc --no-history --no-window-system \
%     --eval "addpath('$PWD/build/plugins', '$PWD/tests/octave/support'); run('bench/acquisition_calls.m')"

if (! private_ipc_namespace ())
  error ("acquisition_calls: run through scripts/private_ipc.sh, never against this machine's segment");
end

calls = 2000;
D = int32 (1:28160);
nrx_acq_write (1, 1, 2, 3, 4, 5, D);
[h1, h2, h3, h4, h5] = nrx_acq_read ();
S = nrx_acq_read (1);

t0 = tic ();
for k = 1:calls
  [h1, h2, h3, h4, h5] = nrx_acq_read ();
end
headers = toc (t0) / calls;

t0 = tic ();
for k = 1:calls
  S = nrx_acq_read (mod (k, 600) + 1);
end
packet = toc (t0) / calls;

t0 = tic ();
for k = 1:calls
  nrx_acq_write (mod (k, 600) + 1, k, 0, 0, 0, k, D);
end
write = toc (t0) / calls;

printf ("all 600 headers:     %6.1f us per call\n", 1e6 * headers);
printf ("one full packet:     %6.1f us per call\n", 1e6 * packet);
printf ("write a full packet: %6.1f us per call\n", 1e6 * write);
