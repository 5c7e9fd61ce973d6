"""Every analysis of the registry through Python gives zorv-batch's table:
the dBase table zorv-batch writes is read back and compared bit for bit with
the arrays of the result, and the text table with the one it prints."""

import numpy as np
import pytest

import zorv
from conftest import SAMPLE

# Options an analysis needs on the sample beyond its defaults, as
# zorv-batch options and the same as keyword arguments.
NEEDS = {
    "zone-total-activity": (["--zones", "G-1,G-2/1"], {"zones": ["G-1", "G-2/1"]}),
    "zone-energy": (["--zones", "G-1,G-2/1"], {"zones": ["G-1", "G-2/1"]}),
    "zone-over-threshold": (["--zones", "G-1,G-2/1"], {"zones": "G-1,G-2/1"}),
    "zone-activity": (["--zones", "G-1,G-4", "--energy-classes"], {"zones": ["G-1", "G-4"], "energy_classes": True}),
    "zone-b": (["--zones", "G-1,G-2,G-3", "--b-stats"], {"zones": ["G-1", "G-2", "G-3"], "b_stats": True}),
    "np-hazard": (["--magnitude", "3", "--magnitude", "2.5"], {"magnitude": [3, 2.5]}),
    "np-hazard-magnitude": (["--duration", "12", "--duration", "1", "--time-unit", "quarters"],
                            {"duration": (12, 1), "time_unit": "quarters"}),
    "np-density": (["--functions", "cdf,pdf", "--bootstrap", "20"], {"functions": ["cdf", "pdf"], "bootstrap": 20}),
    "p-hazard": (["--magnitude", "2.8,3.2", "--fixed-upper-limit"], {"magnitude": [2.8, 3.2], "fixed_upper_limit": True}),
    "b-changes": (["--period", "years", "--b-stats"], {"period": "years", "b_stats": True}),
    "activity": (["--period", "months", "--classes", "6"], {"period": "months", "classes": 6}),
    "time-variations": (["--window", "600", "--window-step", "100", "--mc", "maxc"],
                        {"window": 600, "window_step": 100, "mc": "maxc"}),
}


def equal_columns(a, b):
    if a.dtype.kind in "fiub" and b.dtype.kind in "fiub":
        return np.array_equal(a.astype(float), b.astype(float), equal_nan=True)
    # dBase keeps no null text: an empty field reads back as "".
    return [v or "" for v in a] == [v or "" for v in b]


@pytest.mark.parametrize("name", list(zorv.analyses()))
def test_analysis_equals_batch(name, sample, batch, tmp_path):
    args, keywords = NEEDS.get(name, ([], {}))
    selection = sample.filter(departments="G-1") if name == "np-hazard" else sample
    where = ["--department", "G-1"] if name == "np-hazard" else []
    out = tmp_path / "wynik.dbf"
    batch(name, *args, *where, "--table", out, SAMPLE / "katalog.dbf")
    text = batch(name, *args, *where, SAMPLE / "katalog.dbf")
    result = zorv.run(name, selection, **keywords)
    expected = zorv.read_table(str(out))
    # dBase keeps field names in capitals.
    table = {name.upper(): values for name, values in result.table.items()}
    assert list(table) == list(expected)
    for column in expected:
        assert equal_columns(table[column], expected[column]), column
    assert result.text == text


def test_estimate_matches_the_batch_line(sample, batch, tmp_path):
    import subprocess, os
    done = subprocess.run([os.environ["ZORV_BATCH"], "p-hazard", str(SAMPLE / "katalog.dbf")],
                          capture_output=True, check=True)
    line = done.stderr.decode().splitlines()[0]
    e = zorv.run("p-hazard", sample).estimate
    assert f"Beta = {e['beta']:.4f}  b = {e['b']:.4f}  MMaxEst = {e['MMaxEst']:.4f}" in line
    assert f"n = {e['n']}" in line


def test_named_settings_file_reads_as_batch_reads_it(batch, tmp_path):
    # zorv.conf was written by the desktop program's settings store (QSettings):
    # MMin 1.6, a 1.8, b 1.9, H 0.09, Auto off, a title with quotes and a comma.
    from conftest import DATA
    conf = DATA / "zorv.conf"
    out = tmp_path / "w.dbf"
    batch("np-hazard", "--settings", conf, "--table", out, SAMPLE / "katalog.dbf")
    selection = zorv.open(str(SAMPLE / "katalog.dbf"), settings=str(conf))
    s = selection.settings
    assert (s["mmin"], s["a"], s["b"], s["H"], s["Auto"]) == (1.6, 1.8, 1.9, 0.09, False)
    result = zorv.run("np-hazard", selection)
    assert result.estimate["h"] == 0.09
    table = {name.upper(): values for name, values in result.table.items()}
    for column, values in zorv.read_table(str(out)).items():
        assert equal_columns(table[column], values)
    assert 'Kopalnia "Północ", pole 3' in zorv.run("activity", selection).report


def test_keywords_override_the_settings(sample):
    low = zorv.run("over-threshold", sample, mmin=1.0).table
    high = zorv.run("over-threshold", sample, mmin=2.0).table
    assert low[list(low)[-1]].sum() > high[list(high)[-1]].sum()
    assert zorv.run("np-hazard", sample, mmin=1.6).estimate["n"] < zorv.run("np-hazard", sample).estimate["n"]
