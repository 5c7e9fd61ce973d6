"""The module is imported from the build tree (PYTHONPATH set by ctest); the
user's settings and home are a temporary folder, so that no test reads or
touches the real ones."""

import os
import pathlib
import subprocess
import tempfile

import pytest

_home = tempfile.mkdtemp(prefix="zorv-python-test-")
os.environ["HOME"] = _home
os.environ["XDG_CONFIG_HOME"] = os.path.join(_home, "config")
os.environ["XDG_DATA_HOME"] = os.path.join(_home, "data")

import zorv  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parents[2]
SAMPLE = ROOT / "data" / "sample"
DATA = pathlib.Path(__file__).resolve().parent / "data"


@pytest.fixture(scope="session")
def sample():
    return zorv.open(str(SAMPLE / "katalog.dbf"))


@pytest.fixture(scope="session")
def batch():
    """Runs zorv-batch; returns its standard output."""
    program = os.environ.get("ZORV_BATCH")
    if not program:
        pytest.skip("ZORV_BATCH is not set")

    def run(*args):
        done = subprocess.run([program, *map(str, args)], capture_output=True, check=False)
        assert done.returncode == 0, done.stderr.decode("utf-8", "replace")
        return done.stdout.decode("utf-8")

    return run
