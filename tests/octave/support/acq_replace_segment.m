function acq_replace_segment (bytes)
  % Removes the acquisition segment of this IPC namespace and, when bytes is
  % given, puts a segment of that size in its place under the same key.
  if (acq_segment () >= 0)
    assert (system ("ipcrm -M 0x39457F73"), 0);
  end
  if (nargin > 0)
    % perl-base comes with every Debian system and knows shmget; 01644 is
    % IPC_CREAT with permissions 0644.
    assert (system (sprintf ("perl -e 'defined shmget(0x39457F73, %d, 01644) or die \"shmget: $!\\n\"'", bytes)), 0);
  end
end
