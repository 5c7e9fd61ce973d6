"""Each bad input ends in an exception of zorv.errors with the program's
Polish message and an English one; nothing crashes."""

import numpy as np
import pytest

import zorv
from conftest import DATA, SAMPLE

ROOT_DATA = SAMPLE.parents[1] / "tests" / "data"


@pytest.mark.parametrize(
    "array, message",
    [
        (np.array([]), "jest pusty"),
        (np.array([1.5, np.nan, 2.0]), "NaN"),
        (np.array([1.5, np.inf]), "NaN"),
        (np.array(["1.5", "2"]), "liczby rzeczywiste"),
        (np.array([1 + 2j]), "liczby rzeczywiste"),
        (np.ones((3, 3)), "jednowymiarową"),
        (np.array([np.datetime64("2000-01-01")]), "liczby rzeczywiste"),
        ("abc", "jednowymiarową"),
        (np.array([True, False]), "liczby rzeczywiste"),
    ],
)
def test_bad_arrays(array, message):
    for call in (lambda: zorv.b_value(array, 1.3), lambda: zorv.mc(array), lambda: zorv.mmax(array, 1.3)):
        with pytest.raises(zorv.ArrayError, match=message) as e:
            call()
        assert e.value.en == "invalid array" and isinstance(e.value, ValueError)


def test_bad_dates(sample):
    m = sample.magnitudes[:100]
    with pytest.raises(zorv.ArrayError, match="jednakową długość"):
        zorv.np_hazard(m, sample.dates[:99], 1.3)
    with pytest.raises(zorv.ArrayError, match="NaT"):
        zorv.np_hazard(m, np.array(["2000-01-01"] * 99 + ["NaT"], dtype="datetime64[D]"), 1.3)


@pytest.mark.parametrize(
    "name, options, error, message",
    [
        ("nic", {}, zorv.OptionError, "Nieznana analiza: nic"),
        ("activity", {"periods": "months"}, zorv.OptionError, "Nieznana opcja: periods"),
        ("activity", {"period": "weeks"}, zorv.OptionError, "Nieznany podział skali czasu: weeks"),
        ("activity", {"classes": 3.5}, zorv.OptionError, "Najwyższa klasa energii"),
        ("zone-energy", {}, zorv.OptionError, "Podaj strefy analizy"),
        ("np-hazard", {"start": 0}, zorv.OptionError, "Podaj razem --start, --end i --step"),
        ("np-hazard", {"magnitude": [1, 2, 3, 4, 5]}, zorv.OptionError, "najwyżej 4 razy"),
        ("np-hazard", {"bootstrap": 5}, zorv.OptionError, "--bootstrap przyjmuje liczbę replikacji"),
        ("np-hazard", {"variable_upper_limit": "tak"}, zorv.OptionError, "True lub False"),
        ("np-hazard", {"time_unit": True}, zorv.OptionError, "nie True/False"),
        ("np-hazard", {"alt_h": "x"}, zorv.OptionError, "Niepoprawna liczba w opcji --alt-h: x"),
        ("np-hazard", {"mmin": 9.0}, zorv.ENoRecords, "Brak rekordów do analizy"),
        ("time-variations", {"window_step": 0}, zorv.OptionError, ""),
        ("activity", {"locale": "de"}, zorv.OptionError, "locale"),
    ],
)
def test_bad_options(sample, name, options, error, message):
    with pytest.raises(error, match=message) as e:
        zorv.run(name, sample, **options)
    assert e.value.pl and e.value.en


def test_bad_files_and_filters(sample, tmp_path):
    with pytest.raises(zorv.FilterError, match="na pozycji 13"):
        sample.filter(where="MAGNITUDA > ")
    with pytest.raises(zorv.FilterError):
        sample.filter(where="NIEMA = 1")
    with pytest.raises(zorv.OptionError, match="Data początkowa nie może być większa"):
        sample.filter(start="2004-01-01", end="2003-01-01")
    with pytest.raises(zorv.OptionError, match="Niepoprawna data"):
        sample.filter(start="wczoraj")
    with pytest.raises(zorv.CatalogueError, match="Niewłasciwy format bazy"):
        zorv.open(str(ROOT_DATA / "dbase" / "damaged_not_dbase.dbf"), check=False)
    with pytest.raises(zorv.StructureCheckError) as e:
        zorv.open(str(ROOT_DATA / "dbase" / "dbase3_types.dbf"))
    assert e.value.report and isinstance(e.value, zorv.CatalogueError)
    with pytest.raises(zorv.CatalogueError):
        zorv.open(str(tmp_path / "brak.dbf"))
    with pytest.raises(zorv.SettingsError, match="Brak pliku ustawień"):
        zorv.open(str(SAMPLE / "katalog.dbf"), settings=str(tmp_path / "brak.conf"))
    with pytest.raises(zorv.OptionError, match="Nieznane ustawienie: MMin"):
        zorv.open(str(SAMPLE / "katalog.dbf"), MMin=1.5)
    damaged = tmp_path / "zle.conf"
    damaged.write_text((DATA / "zorv.conf").read_text().replace("MMin=1.6", "MMin=dużo"), encoding="utf-8")
    with pytest.warns(UserWarning, match="Uszkodzone ustawienia"):
        zorv.open(str(SAMPLE / "katalog.dbf"), settings=str(damaged))


def test_estimator_arguments(sample):
    m = sample.magnitudes
    with pytest.raises(zorv.OptionError, match="Nieznana metoda Mc: xx"):
        zorv.mc(m, "xx")
    with pytest.raises(zorv.OptionError, match="bin"):
        zorv.mc(m, bin=0)
    with pytest.raises(zorv.OptionError, match="Nieznana metoda b"):
        zorv.b_value(m, 1.3, "ml")
    with pytest.raises(zorv.OptionError, match="Nieznany estymator Mmax: X .*R-W"):
        zorv.mmax(m, 1.3, "X")
    with pytest.raises(zorv.ENoRecords):
        zorv.b_value(m, 5.0)
    with pytest.raises(zorv.EMcSampleTooSmall):
        zorv.mc(m[:10])


def test_picture_is_refused_clearly(sample):
    with pytest.raises(zorv.PictureUnavailable, match="zorv-batch --picture"):
        zorv.run("activity", sample).picture("a.png")
