"""The cohort on a Dask cluster: one task per scan, run by whichever worker
is free, results taken as they come."""

import logging
from contextlib import contextmanager

from dask.distributed import Client, LocalCluster, as_completed

from .cohort_study import study_scan


@contextmanager
def cluster_client(scheduler=None, workers=None):
    """A client of the cluster whose scheduler is at the address scheduler,
    or of a new cluster of workers single-threaded worker processes on this
    machine, reached on the loopback address only (workers None: one per
    core)."""
    if scheduler:
        with Client(scheduler) as client:
            yield client
        return
    # One scan at a time per worker process: Dask's nanny also starts each
    # worker with OMP_NUM_THREADS=1, so the kernels keep to one core each.
    with LocalCluster(n_workers=workers, threads_per_worker=1, host="127.0.0.1", dashboard_address=None,
                      silence_logs=logging.ERROR) as cluster, Client(cluster) as client:
        yield client


def study_cohort(client, reference, scans):
    """Yields (index, outcome) for every scan, as each finishes: outcome is
    the study's (figures, picture), or the exception that ended it. The
    reference is sent to every worker once."""
    shared = client.scatter(reference, broadcast=True)
    index = {}
    pending = as_completed()
    for i, scan in enumerate(scans):
        future = client.submit(study_scan, shared, str(scan), str(scan), pure=False)
        index[future.key] = i
        pending.add(future)
    for future in pending:
        try:
            outcome = future.result()
        except Exception as error:   # the scan's own failure, passed on by Dask
            outcome = error
        yield index[future.key], outcome
