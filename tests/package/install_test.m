function status = install_test (tarball)
  % Installs the package tarball into a fresh local package folder, loads it
  % and calls a plug-in and its help from there. status is 0 on success.
  folder = tempname ();
  mkdir (folder);
  pkg ("prefix", fullfile (folder, "packages"), fullfile (folder, "arch"));
  pkg ("local_list", fullfile (folder, "octave_packages"));
  status = 1;
  unwind_protect
    pkg ("install", "-local", tarball);
    pkg ("load", "nrx");
    installed = pkg ("list", "nrx");
    assert (numel (installed), 1);
    where = which ("nrx_warp_affine");
    assert (strncmp (where, folder, numel (folder)), ["not from the package: " where]);
    x = single ([1 2]); y = single ([3 4]); z = single ([5 6]);
    nrx_warp_affine (x, y, z, [eye(3) [1; 1; 1]; 0 0 0 1]);
    assert ([x y z], single ([2 3 4 5 6 7]));
    % Every plug-in the package's INDEX lists is loaded with its help.
    index = fileread (fullfile (installed{1}.dir, "packinfo", "INDEX"));
    names = regexp (index, "nrx_\\w+", "match");
    assert (numel (names) >= 2);
    for name = names
      assert (exist (name{1}), 3, [name{1} " is not a loaded plug-in"]);
      assert (! isempty (strfind (get_help_text (name{1}), upper (name{1}))), [name{1} ": no help"]);
    end
    printf ("package: %d plug-ins installed and loaded from %s\n", numel (names), folder);
    status = 0;
  unwind_protect_cleanup
    confirm_recursive_rmdir (false);
    rmdir (folder, "s");
  end_unwind_protect
end
