#pragma once
// A result table made for a chart test, behind the analysis interface the
// chart windows read.

#include <QString>
#include <QStringList>
#include <cmath>

#include "analysis/Database.h"

// An analysis whose result table and report the test writes.
class FakeAnalysis : public zorv::Database {
public:
    FakeAnalysis(const zorv::AnalysisSettings& s, zorv::Table table, std::vector<double> values = {},
                 zorv::ReportLines report = {})
        : zorv::Database(s, nullptr), table_(std::move(table)), report_(std::move(report)) {
        seriesValues = std::move(values);
        title = "Tytuł analizy";
        bottomAxisTitle = "Oś X";
        leftAxisTitle = "Oś Y";
        rightAxisTitle = "Oś prawa";
    }
    zorv::Table* GetTable() override { return &table_; }
    bool CopyToFile(const std::string&, std::string*) override { return false; }
    bool SaveTableAsText(const std::string&, const std::string&) override { return false; }
    bool WriteReport(zorv::ReportLines& lines) override {
        lines = report_;
        return true;
    }
    bool WriteTableText(zorv::ReportLines&) override { return false; }

private:
    zorv::Table table_;
    zorv::ReportLines report_;
};

// A table of three rows from "name:type" items (s text, f double, i
// integer, d date); values grow from row to row, text reads "t1"…
inline zorv::Table makeTable(const QString& spec) {
    using namespace zorv;
    FieldDefs defs{{"Numer", FieldType::AutoInc}};
    for (const QString& item : spec.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = item.section(QLatin1Char(':'), 0, 0);
        const QChar type = item.section(QLatin1Char(':'), 1, 1).at(0);
        defs.push_back({name.toStdString(), type == QLatin1Char('s')   ? FieldType::String
                                            : type == QLatin1Char('i') ? FieldType::Integer
                                            : type == QLatin1Char('d') ? FieldType::Date
                                                                       : FieldType::Float});
        if (type == QLatin1Char('s')) defs.back().size = 20;
    }
    Table t(defs);
    for (int r = 1; r <= 3; ++r) {
        std::vector<Value> row{Value{}};
        for (std::size_t f = 1; f < defs.size(); ++f) {
            switch (defs[f].type) {
                case FieldType::String: row.push_back(Value::text("t" + std::to_string(r))); break;
                case FieldType::Integer: row.push_back(Value::integer(10 * r)); break;
                case FieldType::Date: row.push_back(Value::date(38000 + r)); break;
                default: row.push_back(Value::real(std::pow(10.0, 3 + r))); break;
            }
        }
        t.appendRecord(row);
    }
    return t;
}

// The same from a list of items.
inline zorv::Table makeTable(const QStringList& fields) { return makeTable(fields.join(QLatin1Char(','))); }
