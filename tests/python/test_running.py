"""A run releases the GIL, reports its progress, stops on Ctrl-C and on an
exception of its callback, and leaves no memory behind."""

import _thread
import threading
import time

import pytest

import zorv

# Long enough on the sample for the other thread to get going.
LONG = {"bootstrap": 400}


def test_a_run_does_not_block_other_threads(sample):
    ticks = []
    done = threading.Event()

    def count():
        while not done.is_set():
            ticks.append(time.monotonic())
            time.sleep(0.001)

    worker = threading.Thread(target=count)
    worker.start()
    start = time.monotonic()
    zorv.run("np-hazard", sample, **LONG)
    end = time.monotonic()
    done.set()
    worker.join()
    during = [t for t in ticks if start < t < end]
    # With the GIL held throughout the other thread would not tick at all.
    assert end - start > 0.2 and len(during) > 0.3 * (end - start) / 0.002


def test_progress_and_its_stop(sample):
    seen = []
    zorv.run("np-hazard", sample, progress=lambda caption, position, maximum: seen.append((caption, position)),
             **LONG)
    assert seen and all(isinstance(c, str) for c, _ in seen)

    class Stop(Exception):
        pass

    def stop(*_):
        raise Stop()

    start = time.monotonic()
    with pytest.raises(Stop):
        zorv.run("np-hazard", sample, progress=stop, bootstrap=5000)
    assert time.monotonic() - start < 5


def test_ctrl_c_cancels_through_the_core(sample):
    timer = threading.Timer(0.3, _thread.interrupt_main)
    timer.start()
    start = time.monotonic()
    with pytest.raises(KeyboardInterrupt):
        zorv.run("np-hazard", sample, bootstrap=5000)
    timer.join()
    assert time.monotonic() - start < 5
    # The module is usable afterwards.
    assert zorv.run("histogram", sample).table


def rss_kib():
    with open("/proc/self/statm") as f:
        pages = int(f.read().split()[1])
    import resource
    return pages * resource.getpagesize() // 1024


def test_repeated_runs_keep_their_memory(sample):
    g = sample.filter(departments="G-3")
    for _ in range(100):
        r = zorv.run("p-density", g)
        r.table, r.report, r.estimate
    before = rss_kib()
    for _ in range(1000):
        r = zorv.run("p-density", g)
        r.table, r.report, r.estimate
        zorv.b_value(g.magnitudes, 1.3)
    grown = rss_kib() - before
    assert grown < 4096, f"{grown} KiB more after 1000 runs"
