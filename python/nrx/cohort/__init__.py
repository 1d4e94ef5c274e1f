"""Cohort studies on Dask: python -m nrx.cohort runs the per-scan study
(nrx.cohort.study) on every scan of a cohort in parallel with
dask.distributed, on a cluster on this machine or on a running one."""
