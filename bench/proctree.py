"""Process-tree figures shared by the benchmark scripts: a process with all its descendants, and
their summed PSS from /proc."""
import os


def tree(pid):
    """pid and every descendant, found through /proc/<pid>/task/*/children."""
    pids = [pid]
    for p in pids:
        try:
            for task in os.listdir(f"/proc/{p}/task"):
                with open(f"/proc/{p}/task/{task}/children") as f:
                    pids += [int(c) for c in f.read().split()]
        except OSError:
            pass
    return pids


def pss_kib(pids):
    total = 0
    for p in pids:
        try:
            with open(f"/proc/{p}/smaps_rollup") as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total
