function tour_report (file, data, rows, pictures, failures)
  % Writes the tour's HTML page: the table of steps, then every picture
  % with its caption, then any failures.
  esc = @(s) strrep (strrep (strrep (s, "&", "&amp;"), "<", "&lt;"), ">", "&gt;");
  f = fopen (file, "w");
  fprintf (f, "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>nrx brain tour</title>\n");
  fprintf (f, "<style>body{font-family:sans-serif;max-width:60em;margin:2em auto}");
  fprintf (f, "td,th{padding:.2em .8em;text-align:left}figure{display:inline-block;margin:1em;vertical-align:top}");
  fprintf (f, "figcaption{max-width:30em}</style></head><body>\n");
  fprintf (f, "<h1>nrx brain tour</h1>\n<p>Data: %s</p>\n", esc (data.source));
  fprintf (f, "<table><tr><th>step</th><th>plug-in</th><th>key figure</th><th>time per call</th></tr>\n");
  for r = rows
    fprintf (f, "<tr><td>%s</td><td><code>%s</code></td><td>%s</td><td>%.3f s</td></tr>\n",
             esc (r.step), esc (r.plugin), esc (r.figure), r.seconds);
  end
  fprintf (f, "</table>\n");
  for p = pictures
    [~, name, ext] = fileparts (p.file);
    fprintf (f, "<figure><img src=\"%s%s\"><figcaption>%s</figcaption></figure>\n", name, ext, esc (p.caption));
  end
  if (! isempty (failures))
    fprintf (f, "<h2>Failures</h2><ul>\n");
    fprintf (f, "<li>%s</li>\n", cellfun (esc, failures, "UniformOutput", false){:});
    fprintf (f, "</ul>\n");
  end
  fprintf (f, "</body></html>\n");
  fclose (f);
end
