#pragma once
// The file types of the save, export and open dialogs, in the order of
// their filters (a type is numbered from 1), and what each type means.

#include <QString>
#include <string>

namespace zorv {

// Table copies; the third type writes the older dBase level that
// spreadsheets and GIS programs read.
inline const QString kTableFileTypes = QStringLiteral("Pliki dBase (*.dbf)|*.dbf|Pliki Paradox (*.db)|*.db");
inline const QString kTableSaveTypes = kTableFileTypes + QStringLiteral("|Pliki dBase III (*.dbf)|*.dbf");
enum TableSaveType { DBaseType = 1, ParadoxType = 2, DBase3Type = 3 };

// Delimited text; the separator follows the type whatever the name says.
inline const QString kTextExportTypes =
    QStringLiteral("Plik tekstowy (*.txt)|*.txt|Plik Grapher (*.dat)|*.dat|Plik CSV (*.csv)|*.csv");
// TAB, one space or ";" for types 1, 2, 3 (TAB for any other).
std::string separatorOfTextType(int type);

// The export of a table: the delimited texts, then the forms other tools
// read (comma CSV with ISO dates and a header, QuakeML 1.2, the OpenQuake
// catalogue CSV), written by the same writers as "zorv-batch export".
inline const QString kTableExportTypes =
    kTextExportTypes + QStringLiteral(
                           "|CSV z przecinkiem, daty ISO (*.csv)|*.csv|QuakeML 1.2 (*.xml)|*.xml|"
                           "Katalog CSV OpenQuake (*.csv)|*.csv");
enum TableExportType { CommaCsvType = 4, QuakeMlType = 5, OpenQuakeType = 6 };

// The files the import reads: its own text forms, QuakeML, any other.
inline const QString kImportFileTypes =
    kTextExportTypes + QStringLiteral("|Plik QuakeML (*.xml)|*.xml|Wszystkie pliki (*.*)|*.*");

// Chart pictures: the four metafile and bitmap types, then PNG, SVG, PDF.
inline const QString kPictureTypes = QStringLiteral(
    "Bitmapa Windows (*.bmp)|*.bmp|Windows Media File (*.wmf)|*.wmf|Enhanced Media File (*.emf)|*.emf|"
    "Obrazek JPG (*.jpg)|*.jpg|Obrazek PNG (*.png)|*.png|Rysunek SVG (*.svg)|*.svg|Dokument PDF "
    "(*.pdf)|*.pdf");

inline const QString kReportRtfTypes = QStringLiteral("Plik RTF (*.rtf)|*.rtf");
// "Zapisz" of a text window: text, or RTF where the user asks for it.
inline const QString kReportTextTypes = QStringLiteral("Plik tekstowy (*.txt)|*.txt|") + kReportRtfTypes;

}  // namespace zorv
