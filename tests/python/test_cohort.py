"""A cohort run on a small synthetic cohort: a 4 mm head phantom as the
reference, subjects simulated from it, and scans that cannot be studied,
on a cluster of two worker processes on the loopback address."""

import csv

import numpy as np
import pytest

pytest.importorskip("dask.distributed")
from nrx.cohort import main  # noqa: E402
from nrx.cohort_phantom import head_phantom  # noqa: E402
from nrx.cohort_scans import write_scan  # noqa: E402
from nrx.cohort_simulate import simulate_subject  # noqa: E402
from nrx.cohort_uniformity import white_matter_figures  # noqa: E402


@pytest.fixture(scope="module")
def cohort(tmp_path_factory):
    folder = tmp_path_factory.mktemp("cohort")
    t1, brain, affine = head_phantom(4.0)
    reference = [folder / "phantom.nii.gz", folder / "brain.nii.gz"]
    write_scan(reference[0], t1, affine)
    write_scan(reference[1], brain, affine)
    truths = {}
    for seed in (2, 3):
        subject, truths[folder / f"sub{seed}.nii.gz"] = simulate_subject(t1, affine, seed)
        write_scan(folder / f"sub{seed}.nii.gz", subject, affine)
    (folder / "unreadable.nii.gz").write_text("not a scan")
    write_scan(folder / "slice.nii", t1[:, :, 20], affine)
    return folder, reference, truths


def test_cohort_on_two_local_workers(cohort, capsys):
    folder, reference, truths = cohort
    scans = [reference[0], *truths, folder / "unreadable.nii.gz", folder / "slice.nii"]
    out = folder / "out"
    status = main(["--out", str(out), "--workers", "2", "--reference", *map(str, reference), *map(str, scans)])
    printed = capsys.readouterr().out
    assert status == 1   # a scan failed
    assert "Dask cluster at tcp://127.0.0.1:" in printed and "(2 workers)" in printed
    assert printed.count("/5] ") == 5   # progress: one line per scan

    with open(out / "cohort.csv") as file:
        rows = list(csv.DictReader(file))
    assert [row["scan"] for row in rows] == [str(s) for s in scans]   # input order
    assert [row["status"] for row in rows] == ["ok"] * 3 + ["failed"] * 2
    assert "ImageFileError" in rows[3]["error"] and rows[3]["picture"] == ""
    assert rows[4]["error"] == "ValueError: not a 3-D scan: shape (46, 55)"

    phantom = rows[0]
    assert float(phantom["angle_deg"]) == 0 and float(phantom["scale"]) == 1
    for row, truth in zip(rows[1:3], truths.values()):
        # The alignment finds how each subject was turned and sized, to the
        # trial step, and its volumes grow with the cube of its size.
        assert abs(float(row["angle_deg"]) - truth["angle_deg"]) <= 1
        assert abs(float(row["scale"]) - truth["scale"]) <= 0.015
        assert float(row["tissue_ml"]) / float(phantom["tissue_ml"]) == pytest.approx(truth["scale"] ** 3, rel=0.08)
        assert int(row["parcels"]) == 40 and float(row["wm_cv"]) > float(phantom["wm_cv"])
        assert (out / row["picture"]).stat().st_size > 1000

    page = (out / "index.html").read_text()
    assert 'src="cohort.png"' in page and page.count('<tr class="failed">') == 2
    assert all(row["picture"] in page for row in rows[:3])


def test_white_matter_drift_is_told_along_its_own_axis():
    # White matter brightening by 20% from bottom to top: slice means spread
    # by 0.9 * 20 / 1.1 % between their 5th and 95th percentiles along z.
    image = np.ones((12, 10, 21)) * np.linspace(100, 120, 21)
    white = np.zeros(image.shape, dtype=bool)
    white[2:10, 1:9, :] = True
    image[~white] = 500   # other tissue: left out
    figures = white_matter_figures(image, white)
    assert figures["bias_z_pct"] == pytest.approx(100 * 0.9 * 20 / 110)
    assert figures["bias_x_pct"] == pytest.approx(0, abs=1e-9) and figures["bias_y_pct"] == pytest.approx(0, abs=1e-9)
    assert figures["wm_cv"] == pytest.approx(np.std(np.linspace(100, 120, 21)) / 110)
