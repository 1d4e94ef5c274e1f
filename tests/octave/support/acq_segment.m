function [attached, bytes, perms] = acq_segment ()
  % The acquisition segment of this IPC namespace as ipcs lists it: how many
  % processes have it attached, its size and its permissions (all -1 when
  % there is none).
  [status, listing] = system ("ipcs -m");
  assert (status, 0, "ipcs -m failed");
  % key shmid owner perms bytes nattch
  row = regexp (listing, '(?m)^0x39457f73\s+\d+\s+\S+\s+(\d+)\s+(\d+)\s+(\d+)', "tokens", "once");
  if (isempty (row))
    [attached, bytes, perms] = deal (-1);
  else
    perms = row{1};
    bytes = str2double (row{2});
    attached = str2double (row{3});
  end
end
