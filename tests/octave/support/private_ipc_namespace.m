function private = private_ipc_namespace ()
  % True only inside the private IPC namespace that scripts/private_ipc.sh
  % made. Tests that touch the acquisition segment run nowhere else, so that
  % they can never write into a live acquisition on this machine. The kernel
  % tests make the same test in tests/kernels/acquisition/private_ipc.hpp.
  [own, err] = readlink ("/proc/self/ns/ipc");
  private = err == 0 && ! isempty (own) && strcmp (own, getenv ("NRX_PRIVATE_IPC_NAMESPACE"));
end
