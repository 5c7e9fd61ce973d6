"""Zorv from Python: catalogues of mining-induced seismic events, every analysis
of the program and its estimators on NumPy arrays.

    import zorv
    cat = zorv.open("katalog.dbf")
    g1 = cat.filter(departments="G-1", located=True)
    r = zorv.run("np-hazard", g1, magnitude=[2.5, 3], bootstrap=200)
    r.table["m1"], r.estimate["h"]
    zorv.b_value(g1.magnitudes, mmin=1.3, method="aki")
"""

from . import errors
from .errors import *  # noqa: F401,F403
from ._zorv import (  # noqa: F401
    Result,
    Selection,
    analyses,
    b_value,
    catalogue,
    completeness,
    mc,
    mmax,
    np_hazard,
    open,
    options,
    p_hazard,
    read_table,
    run,
    setting_names,
    smoothing_factor,
)


def _to_pandas(self):
    """The result table as a pandas DataFrame (pandas must be installed)."""
    try:
        import pandas
    except ImportError as e:
        raise ImportError("to_pandas() needs pandas (Debian: python3-pandas)") from e
    return pandas.DataFrame(self.table)


def _picture(self, path):
    """Writes the chart of the result as a picture: not available from Python yet."""
    raise errors.PictureUnavailable(
        "Wykresy analiz nie są jeszcze dostępne z Pythona; zapisz wykres programem zorv-batch --picture.",
        "chart pictures are not available from Python yet; use zorv-batch --picture",
    )


Result.to_pandas = _to_pandas
Result.picture = _picture
