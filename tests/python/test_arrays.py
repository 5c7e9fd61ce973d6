"""The estimators on arrays agree with the analyses of a catalogue of the
same events, and with closed forms where there is one; dates and nulls make
the round trip through the table engine."""

import datetime
import math

import numpy as np
import pytest

import zorv
from conftest import SAMPLE


def test_kernel_estimates_equal_the_analyses(sample):
    m = sample.magnitudes
    compare = zorv.run("mmax-compare", sample).estimate
    assert zorv.mmax(m, 1.3) == compare["MMax"]
    assert zorv.mmax(m, 1.3, "R-W") == compare["MMax"]["R-W"]
    hazard = zorv.run("np-hazard", sample).estimate
    assert zorv.smoothing_factor(m, 1.3) == hazard["h"]
    assert compare["MMax"]["NP st."][0] == hazard["MMaxEst"]


def test_hazard_on_arrays_equals_the_analysis(sample):
    g2 = sample.filter(departments="G-2")
    for name, function in (("np-hazard", zorv.np_hazard), ("p-hazard", zorv.p_hazard)):
        expected = zorv.run(name, g2, magnitude=[2, 3])
        got = function(g2.magnitudes, g2.dates, 1.3, magnitude=[2, 3])
        assert got.estimate == expected.estimate
        for column, values in expected.table.items():
            assert np.array_equal(got.table[column], values), (name, column)


def test_b_values(sample):
    m = sample.magnitudes
    # The truncated estimate is the parametric analyses' b.
    assert zorv.b_value(m, 1.3, "truncated")[0] == zorv.run("p-hazard", sample).estimate["b"]
    # Aki: b = log10(e) / (mean - mmin), σ = ln 10 · b² · sqrt(Σ(M - mean)² / (n (n - 1))) (Shi and Bolt).
    x = m[m >= 1.3]
    b = math.log10(math.e) / (x.mean() - 1.3)
    sigma = math.log(10) * b * b * math.sqrt(((x - x.mean()) ** 2).sum() / (len(x) * (len(x) - 1)))
    got = zorv.b_value(m, 1.3, "aki")
    assert got[0] == pytest.approx(b, rel=1e-12) and got[1] == pytest.approx(sigma, rel=1e-9)
    # b-positive: differences of consecutive magnitudes of at least 0.2,
    # b+ = log10(e) / (mean(d) - 0.2) (van der Elst 2021), in date order.
    order = np.argsort(sample.dates, kind="stable")
    d = np.diff(m[order])
    d = d[d >= 0.2]
    assert zorv.b_value(m, 1.3, "positive", dates=sample.dates)[0] == pytest.approx(
        math.log10(math.e) / (d.mean() - 0.2), rel=1e-12)


def test_completeness_equals_batch_mc(sample, batch):
    rows = [line.split("\t") for line in batch("mc", "--bootstrap", "50", SAMPLE / "katalog.dbf").splitlines()[1:]]
    got = zorv.completeness(sample.magnitudes, bootstrap=50)
    # The Tinti-Mulargia b and its error follow in the last two columns.
    for method, mc, sigma, b, sigma_b, n, resamples, *_ in rows:
        e = got[method]
        assert f"{e['mc']:.2f}".replace(".", ",") == mc
        assert f"{e['sigma']:.3f}".replace(".", ",") == sigma
        assert f"{e['b']:.3f}".replace(".", ",") == b and str(e["n"]) == n
        assert e["resamples_with_estimate"] == int(resamples)
        assert zorv.mc(sample.magnitudes, method) == e["mc"]


def test_arrays_without_copy_and_with_one(sample):
    m = sample.magnitudes
    assert not m.flags.writeable and not m.flags.owndata  # a view of the catalogue's column
    strided = np.repeat(m, 2)[::2]
    assert not strided.flags.c_contiguous
    assert zorv.b_value(strided, 1.3) == zorv.b_value(m, 1.3)
    assert zorv.b_value(m.astype(np.float32), 1.3)[0] == pytest.approx(zorv.b_value(m, 1.3)[0], rel=1e-6)
    assert zorv.b_value(list(m), 1.3) == zorv.b_value(m, 1.3)


def test_dates_and_nulls_round_trip(tmp_path):
    columns = {
        "DATA": np.array(["1899-12-30", "2000-02-29", "NaT", "9999-12-31", "0001-01-01"], dtype="datetime64[D]"),
        "MAGNITUDA": np.array([1.5, np.nan, 2.25, -0.5, 0.0]),
        "N": np.array([1, 2, 3, -4, 2**31 - 1], dtype=np.int32),
        "OPIS": np.array(["ściana 1", None, "", "Żółw", "x"], dtype=object),
    }
    c = zorv.catalogue(columns)
    for name, values in columns.items():
        got = c[name]
        if name == "OPIS":
            assert list(got) == list(values)
        else:
            assert np.array_equal(got, values, equal_nan=True), name
    for ext in ("dbf", "db"):
        path = tmp_path / f"k.{ext}"
        c.save(str(path))
        back = zorv.read_table(str(path))
        assert np.array_equal(back["DATA"], columns["DATA"], equal_nan=True), ext
        assert np.array_equal(back["MAGNITUDA"], columns["MAGNITUDA"], equal_nan=True), ext
        assert [v or "" for v in back["OPIS"]] == ["ściana 1", "", "", "Żółw", "x"], ext
    # The sample's dates: the first and last event of 2000-2005.
    s = zorv.open(str(SAMPLE / "katalog.db"))
    assert s.dates.dtype == np.dtype("datetime64[D]")
    assert s.dates[0] == np.datetime64("2000-01-01") and s.dates[-1] <= np.datetime64("2005-12-31")
    t = zorv.open(str(SAMPLE / "katalog.txt"))
    assert np.array_equal(t.dates, s.dates) and np.array_equal(t.magnitudes, s.magnitudes)


def test_filter_selects_as_batch_does(sample, batch):
    g = sample.filter(departments="G-1", start=datetime.date(2003, 1, 1), end="2003-12-31", located=True)
    assert g.description and len(g) > 0
    assert (g["ODDZIAL"] == None).sum() == 0  # noqa: E711
    assert all(z.startswith("G-1/") for z in g["ODDZIAL"])
    assert (g.dates >= np.datetime64("2003-01-01")).all() and (g["X"] != 0).all()
    text = batch("histogram", "--department", "G-1", "--from", "2003-01-01", "--to", "2003-12-31", "--located",
                 SAMPLE / "katalog.dbf")
    assert zorv.run("histogram", g).text == text
    both = sample.filter(zones=["G-1/1", "G-2/1"], where="MAGNITUDA > 2")
    assert set(both["ODDZIAL"]) == {"G-1/1", "G-2/1"} and (both.magnitudes > 2).all()
    # A selection of a selection; the parent stays as it was.
    assert len(g.filter(where="MAGNITUDA >= 2")) == int((g.magnitudes >= 2).sum())
    assert len(sample) == 19838
    either = sample.filter(zones="G-1/1", where="MAGNITUDA > 3", any=True)
    assert len(either) == int(((sample["ODDZIAL"] == "G-1/1") | (sample.magnitudes > 3)).sum())


def test_table_to_pandas(sample):
    r = zorv.run("activity", sample, period="years")
    try:
        import pandas  # noqa: F401
    except ImportError:
        with pytest.raises(ImportError, match="python3-pandas"):
            r.to_pandas()
        return
    frame = r.to_pandas()
    assert list(frame.columns) == list(r.table) and len(frame) == 6


def test_every_function_says_what_it_computes():
    public = [getattr(zorv, n) for n in dir(zorv) if not n.startswith("_")]
    functions = [f for f in public if callable(f) and not isinstance(f, type)]
    assert len(functions) >= 14
    for f in functions + [zorv.Selection.filter, zorv.Result.table, zorv.Result.estimate]:
        assert f.__doc__ and len(f.__doc__) > 30, f
    assert "[magnitude]" in zorv.mc.__doc__ and "[magnitude]" in zorv.mmax.__doc__
