"""Shared by the comparison scripts: the best wall-clock time of a shell command."""
import subprocess
import time


def best_of(runs, command):
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, shell=True, check=False, stdout=subprocess.DEVNULL)
        best = min(best, time.perf_counter() - start)
    return best
