function status = run_test_file (file)
  % Runs every test block of one file in this host; status is 0 only when
  % the file has tests and all of them pass.
  [npass, ntests] = test (file, "quiet", stdout);
  printf ("%s: %d of %d tests passed\n", file, npass, ntests);
  status = double (ntests == 0 || npass < ntests);
end
