"""The exceptions of zorv: one class per failure of the core, each with the
Polish message of the program (``pl``) and an English one (``en``)."""


class Error(Exception):
    """A failure of zorv; str() gives the Polish message and the English one."""

    def __init__(self, pl, en=""):
        super().__init__(pl, en)
        self.pl = pl
        self.en = en

    def __str__(self):
        return f"{self.pl} ({self.en})" if self.en else self.pl


class OptionError(Error, ValueError):
    """An option, setting or argument with a wrong name or value."""


class ArrayError(Error, ValueError):
    """An array that is empty, not one-dimensional, not numeric, or holds NaN."""


class SettingsError(Error):
    """The settings file cannot be read."""


class CatalogueError(Error, OSError):
    """The file cannot be read as a catalogue."""


class StructureCheckError(CatalogueError):
    """The catalogue failed its structure check; ``report`` holds the check's report."""

    report = ()


class FilterError(Error, ValueError):
    """A filter expression the table engine refuses."""


class PictureUnavailable(Error, NotImplementedError):
    """Chart pictures are not available from Python yet."""


class AnalysisError(Error):
    """An analysis failed; the subclasses are the failures of the estimators."""


class ENoRecords(AnalysisError):
    """No record to analyse, or none reaches MMin."""


class ESampleTooLow(AnalysisError):
    """The sample is too small."""


class ETooManyIterations(AnalysisError):
    """An iteration did not converge within its limit."""


class ETooLargeMagnitude(AnalysisError):
    """A magnitude or energy too large."""


class EHFactorBelowZero(AnalysisError):
    """The smoothing factor came out not positive."""


class EDerivZero(AnalysisError):
    """A derivative of zero stopped the root finder."""


class EZeroNotFound(AnalysisError):
    """The root finder found no root."""


class EMMaxEstExceeded(AnalysisError):
    """The maximum magnitude estimate exceeds its limit."""


class EMcSampleTooSmall(AnalysisError):
    """Too few events for the completeness magnitude."""


class EMcBinWidth(AnalysisError):
    """The magnitude bin width is not positive."""


class EBreakProcess(AnalysisError):
    """The computation was stopped."""
