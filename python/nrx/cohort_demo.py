"""The demo cohort: the T1 scans of Debian's mricron-data and subjects
simulated from the whole-head one, or, without that package, a synthetic
head phantom and subjects simulated from it."""

import csv
from pathlib import Path

from .cohort_phantom import head_phantom
from .cohort_scans import write_scan
from .cohort_simulate import write_subject

TEMPLATES = Path("/usr/share/mricron/templates")
SCANS = ("ch2.nii.gz", "ch2bet.nii.gz", "ch2better.nii.gz")   # the whole head first
BRAIN = "ch2bet.nii.gz"


def real_reference():
    """(T1, brain) paths of the installed reference scans, or None."""
    t1, brain = TEMPLATES / SCANS[0], TEMPLATES / BRAIN
    return (t1, brain) if t1.exists() and brain.exists() else None


def demo_cohort(client, folder, count):
    """(scans, reference): the demo's scan paths and its reference's (T1,
    brain) paths. The count simulated subjects are made on the cluster into
    folder, with subjects.csv saying how each was made."""
    folder.mkdir(parents=True, exist_ok=True)
    reference = real_reference()
    if reference:
        scans = [TEMPLATES / name for name in SCANS]
    else:
        print(f"No scan in {TEMPLATES} (Debian package mricron-data): using a synthetic head phantom.")
        t1, brain, affine = head_phantom()
        reference = (folder / "phantom.nii.gz", folder / "phantom_brain.nii.gz")
        write_scan(reference[0], t1, affine)
        write_scan(reference[1], brain, affine)
        scans = [reference[0]]
    base = scans[0]
    stem = base.name.split(".")[0]
    subjects = [folder / f"{stem}-sim{n:02d}.nii.gz" for n in range(1, count + 1)]
    print(f"Simulating {count} subjects from {base} into {folder}", flush=True)
    truths = client.gather(client.map(write_subject, [str(base)] * count, [str(s) for s in subjects],
                                      range(1, count + 1), pure=False))
    with open(folder / "subjects.csv", "w", newline="") as file:
        writer = csv.writer(file)
        writer.writerow(["scan", "base", *truths[0]] if truths else ["scan"])
        for subject, truth in zip(subjects, truths):
            writer.writerow([subject, base, *(f"{v:.6g}" for v in truth.values())])
    return scans + subjects, reference
