"""Long-lived worker processes of the comparison and their line protocol.

A worker (compare_worker.m in the host, or peers.py) reads
"run CASE SIDE REPEAT NAMES" lines and answers each with "@@time SECONDS"
or "@@error MESSAGE" on a line of its own; whatever else it prints (progress
output of a plug-in) is passed over.
"""

import os
import subprocess

# glibc's memory settings for the workers, set by scripts/memory_settings.sh.
MEMORY_SETTINGS = "NRX_GLIBC_TUNABLES"
THREAD_VARIABLES = ("OMP_NUM_THREADS", "OPENBLAS_NUM_THREADS", "MKL_NUM_THREADS")


class WorkerError(Exception):
    """A call that failed inside a worker; the worker goes on."""


class Worker:
    def __init__(self, label, command, threads, memory_settings):
        env = {k: v for k, v in os.environ.items() if k not in THREAD_VARIABLES + ("GLIBC_TUNABLES",)}
        for name in THREAD_VARIABLES:
            env[name] = str(threads)
        if memory_settings:
            env["GLIBC_TUNABLES"] = os.environ[MEMORY_SETTINGS]
        self.label = label
        self.process = subprocess.Popen(command, env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        text=True, bufsize=1)

    def time(self, case, side, repeat, inputs):
        """Seconds per call of the case's SIDE in this worker."""
        self.process.stdin.write("run %s %s %d %s\n" % (case, side, repeat, ",".join(inputs) or "-"))
        self.process.stdin.flush()
        for line in self.process.stdout:
            if line.startswith("@@time "):
                return float(line.split()[1])
            if line.startswith("@@error "):
                raise WorkerError(line[len("@@error "):].strip())
        raise RuntimeError("the %s worker stopped (exit status %s)" % (self.label, self.process.wait()))

    def huge_page_kib(self):
        """Anonymous memory the worker holds in transparent huge pages."""
        try:
            with open("/proc/%d/smaps_rollup" % self.process.pid) as f:
                for line in f:
                    if line.startswith("AnonHugePages:"):
                        return int(line.split()[1])
        except OSError:
            pass
        return None

    def close(self):
        if self.process.poll() is None:
            try:
                self.process.stdin.write("quit\n")
                self.process.stdin.close()
            except OSError:
                pass
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def octave_worker(label, paths, inputs, nifti_file, threads, memory_settings):
    quote = lambda text: "'%s'" % text.replace("'", "''")
    command = ["octave-cli", "--norc", "--no-history", "--no-window-system", "--no-line-editing",
               "--eval", "addpath(%s); compare_worker(%s, %s)" % (", ".join(map(quote, paths)), quote(inputs),
                                                         quote(nifti_file))]
    return Worker(label, command, threads, memory_settings)


def python_worker(label, python, peers, inputs, nifti_file):
    # The same memory settings as the host's: the peers make and free arrays
    # as large, call after call.
    return Worker(label, [python, "-B", peers, inputs, nifti_file], 1, True)
