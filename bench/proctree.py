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


def rss_kib(pids):
    total = 0
    for p in pids:
        try:
            with open(f"/proc/{p}/status") as f:
                total += next(int(line.split()[1]) for line in f if line.startswith("VmRSS:"))
        except (OSError, StopIteration):
            pass
    return total


def _parent_and_cmdline(pid):
    with open(f"/proc/{pid}/stat") as f:
        parent = int(f.read().rsplit(")", 1)[1].split()[1])
    with open(f"/proc/{pid}/cmdline", "rb") as f:
        return parent, f.read()


def renderers(pids):
    """Renderer processes among pids. Chromium forks its renderers from a zygote; a renderer may
    keep the zygote's command line or rewrite it into one string ("... --type=renderer ..."), so a
    renderer is a child of a zygote or says so."""
    info = {}
    for p in pids:
        try:
            info[p] = _parent_and_cmdline(p)
        except OSError:
            pass
    count = 0
    for p, (parent, cmd) in info.items():
        parent_is_zygote = parent in info and b"--type=zygote" in info[parent][1]
        count += b"--type=renderer" in cmd or parent_is_zygote
    return count


def cpu_ticks(pids):
    """User + system clock ticks used so far by pids."""
    total = 0
    for p in pids:
        try:
            with open(f"/proc/{p}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except OSError:
            pass
    return total
