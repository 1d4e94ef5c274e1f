% Every plug-in on the path has help text beside it that shows its call form.

%!test
%! folder = fileparts (which ("nrx_warp_jacobian"));
%! plugins = dir (fullfile (folder, "nrx_*.mex"));
%! assert (numel (plugins) >= 2);
%! for p = plugins'
%!   [~, name] = fileparts (p.name);
%!   text = get_help_text (name);
%!   assert (! isempty (strfind (text, upper (name))), [name ": no help text"]);
%!   assert (! isempty (strfind (text, [name " ("])) || ! isempty (strfind (text, [name "("])),
%!           [name ": help text shows no call form"]);
%! end
