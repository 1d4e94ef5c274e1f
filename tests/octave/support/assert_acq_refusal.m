function assert_acq_refusal (f, message)
  % Calls f (), which must fail with exactly this message and leave the
  % acquisition segment attached to no process.
  try
    f ();
  catch err
    assert (err.message, message);
    assert (acq_segment () <= 0, "the segment is still attached after the error");
    return;
  end
  error ("assert_acq_refusal: no error, expected \"%s\"", message);
end
