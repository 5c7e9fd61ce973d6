#include "spatial/HazardMap.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "hazard/BandText.h"
#include "hazard/HazardErrors.h"
#include "report/ReportWriter.h"
#include "spatial/NodeRunner.h"
#include "table/FilterExpression.h"
#include "table/TableError.h"
#include "text/DateText.h"
#include "text/DateTimeText.h"
#include "text/NumberFormat.h"

namespace zorv {

namespace {

using Q = MapQuantity;
constexpr double kPi = 3.14159265358979323846;

std::size_t at(Q q) { return static_cast<std::size_t>(q); }

std::string number(double v, const Locale& loc) { return formatGeneral(v, loc); }

// The change map's columns, in table order.
const char* const kChangeColumns[] = {"N1",      "N2", "Tempo1", "Tempo2",    "IlorazT", "IlT_lo", "IlT_hi",
                                      "IlT_ist", "b1", "b2",     "Roznica_b", "P_UTSU",  "p_LR",   "db_ist"};

}  // namespace

std::string durationUnitGenitive(double d, TimeUnit unit) {
    const bool months = unit == TimeUnit::Months;
    // "w ciągu 1 miesiąca", "1,5 miesiąca" (a fraction takes the singular),
    // "2 miesięcy", "12 kwartałów".
    if (d != std::floor(d) || d == 1.0) return months ? "miesiąca" : "kwartału";
    return months ? "miesięcy" : "kwartałów";
}

HazardMap::HazardMap(const AnalysisSettings& settings, Table* dataset, const HazardMapParameters& p,
                     Progress* progress)
    : DBDialogs(settings, dataset, progress), parameters(p) {
    title = kHazardMapCaption;
    if (const auto problem = HazardMapProblem(p)) throw SpatialError(*problem);
    // The steps before and after the nodes run on a worker too, so that the
    // progress window keeps turning over a million events.
    const auto poll = [this](std::size_t) { return IsCancelled(); };
    const auto background = [&](const std::function<void(const StopTest&)>& task) {
        RunNodes(
            1, 1, [&task](std::size_t, const StopTest& stop) { task(stop); }, poll);
    };
    StartProgress("Mapa zagrożenia: odczyt zjawisk...", 0, 1);
    try {
        background([this, &p](const StopTest& stop) {
            ReadEvents(stop);
            grid = BuildMapGrid(points, p.grid);
            if (p.sampling.kind == SamplingKind::Nearest &&
                static_cast<std::size_t>(p.sampling.nearest) > points.size())
                throw SpatialError("Liczba najbliższych zjawisk N = " + std::to_string(p.sampling.nearest) +
                                   " przekracza liczbę zlokalizowanych zjawisk w wybranych danych (" +
                                   std::to_string(points.size()) + ").");
            const bool rated = std::any_of(p.quantities.begin(), p.quantities.end(),
                                           [](Q q) { return needsParametric(q) || needsNonParametric(q); });
            if (!IsChangeMap() && rated && p.normalisation == MapNormalisation::AreaAndTime &&
                !(timeUnitCount(spanDays, p.unit) > 0.0))
                throw ESamplePeriodTooShort();
            sampler = std::make_unique<NodeSampler>(points);
        });
        Run();
        StartProgress("Mapa zagrożenia: tabela wyników...", 0, 1);
        background([this](const StopTest&) {
            FillTable();
            CountEmpty();
        });
    } catch (...) {
        HideProgress();
        throw;
    }
    HideProgress();
    hasData = true;
}

void HazardMap::ReadEvents(const StopTest& stop) {
    Table& t = *dataset_;
    const int xf = t.fieldIndex(settings_.XField), yf = t.fieldIndex(settings_.YField);
    if (xf < 0 || yf < 0)
        throw SpatialError("Katalog nie ma pól współrzędnych " + settings_.XField + " i " + settings_.YField +
                           ": mapa wymaga zjawisk o znanych współrzędnych.");
    std::shared_ptr<const FilterExpression> located;
    if (!parameters.locationExpression.empty()) {
        try {
            FilterExpression::Options o;
            o.locale = settings_.UserLocale;
            located = FilterExpression::parse(parameters.locationExpression, t, o);
        } catch (const std::exception& e) {
            throw SpatialError("Błędne wyrażenie lokalizacji zjawisk: " + std::string(e.what()));
        }
    }
    const Column& xs = t.column(xf);
    const Column& ys = t.column(yf);
    const int df = t.fieldIndex(settings_.DateField);
    const Column* dates = df >= 0 ? &t.column(df) : nullptr;
    bool anyDay = false;
    for (std::size_t i = 0; i < t.recordCount(); ++i) {
        if (i % 65536 == 0 && stop()) throw EBreakProcess();
        const std::size_t row = t.rowOfRecord(i);
        if (xs.isNull(row) || ys.isNull(row)) continue;
        if (located && !located->matches(t, row)) continue;
        const double x = xs.numberAt(row), y = ys.numberAt(row);
        if (!std::isfinite(x) || !std::isfinite(y)) continue;
        points.push_back({x, y});
        rowsOfPoints.push_back(static_cast<std::uint32_t>(row));
        magnitudes.push_back(ReadMagnitude(row));
        energies.push_back(ReadEnergy(row));
        const double day = dates && !dates->isNull(row) ? dates->numberAt(row) : 0.0;
        days.push_back(day);
        if (dates && !dates->isNull(row)) {
            firstDay = anyDay ? std::min(firstDay, day) : day;
            lastDay = anyDay ? std::max(lastDay, day) : day;
            anyDay = true;
        }
    }
    spanDays = lastDay - firstDay;
    SetDateSpan(firstDay, lastDay);
}

void HazardMap::Run() {
    const HazardMapParameters& p = parameters;
    const std::size_t count = grid.size();
    sizes.assign(count, 0);
    radii.assign(count, 0.0);
    if (IsChangeMap())
        changes.assign(count, {});
    else
        nodes.assign(count, {});
    const double unitArea =
        p.areaUnit == AreaUnit::SquareKilometre ? p.metresPerUnit * p.metresPerUnit / 1e6 : 1.0;
    const NodeContext context{settings_, parameters, spanDays};
    const auto work = [&](std::size_t node, const StopTest& stop) {
        const NodeSample s = sampler->sample(grid.x(node), grid.y(node), p.sampling);
        sizes[node] = static_cast<int>(s.events.size());
        radii[node] = s.radius;
        NodeEvents e;
        e.area = kPi * s.radius * s.radius * unitArea;
        e.magnitudes.reserve(s.events.size());
        for (std::uint32_t i : s.events) {
            e.magnitudes.push_back(magnitudes[i]);
            e.energies.push_back(energies[i]);
            e.days.push_back(days[i]);
        }
        if (IsChangeMap())
            changes[node] = EvaluateChange(e, context);
        else
            nodes[node] = EvaluateNode(e, context, node, stop);
    };
    const int total = static_cast<int>(count);
    StartProgress("Mapa zagrożenia: węzły siatki...", 0, total);
    RunNodes(count, p.threads, work, [&](std::size_t done) {
        SetProgressPosition(static_cast<int>(done));
        return IsCancelled();
    });

    if (std::all_of(sizes.begin(), sizes.end(), [](int n) { return n == 0; })) {
        double nearest = INFINITY;
        for (std::size_t node = 0; node < count; ++node)
            nearest = std::min(nearest, sampler->nearestDistance(grid.x(node), grid.y(node)));
        const double r = p.sampling.kind == SamplingKind::Radius ? p.sampling.radius : p.sampling.maxRadius;
        throw SpatialError(
            "Promień " + number(r, settings_.UserLocale) +
            " jest mniejszy od odległości każdego węzła od najbliższego zjawiska (najmniejsza: " +
            number(std::round(nearest * 100.0) / 100.0, settings_.UserLocale) +
            "): żaden węzeł nie ma zjawisk.");
    }
    if (std::all_of(sizes.begin(), sizes.end(), [&](int n) { return n < p.sampling.minEvents; }))
        throw SpatialError("Żaden węzeł nie ma co najmniej " + std::to_string(p.sampling.minEvents) +
                           " zjawisk w swojej próbie (najwięcej: " +
                           std::to_string(*std::max_element(sizes.begin(), sizes.end())) +
                           "): zwiększ promień lub zmniejsz minimalną liczbę zjawisk.");
}

std::vector<std::uint32_t> HazardMap::NodeRows(std::size_t node) const {
    std::vector<std::uint32_t> rows;
    for (std::uint32_t i : sampler->sample(grid.x(node), grid.y(node), parameters.sampling).events)
        rows.push_back(rowsOfPoints[i]);
    return rows;
}

std::vector<std::string> HazardMap::ValueColumns() const {
    std::vector<std::string> out;
    if (IsChangeMap()) {
        for (const char* c : kChangeColumns) out.emplace_back(c);
        return out;
    }
    for (Q q : parameters.quantities) {
        out.emplace_back(mapQuantityInfo(q).column);
        if (q == Q::BValue) out.emplace_back("b_sigma");
        if (q == Q::BPositive) out.emplace_back("bp_sigma");
    }
    if (std::any_of(parameters.quantities.begin(), parameters.quantities.end(), needsNonParametric))
        out.emplace_back("h");
    return out;
}

void HazardMap::FillTable() {
    const bool bands = parameters.bootstrap.enabled && !IsChangeMap();
    FieldDefs fields{{"X", FieldType::Float},
                     {"Y", FieldType::Float},
                     {"N", FieldType::Integer},
                     {"Promien", FieldType::Float},
                     {"Prog", FieldType::Float}};
    std::vector<std::string> masked;
    for (const std::string& c : ValueColumns()) {
        const bool whole = c == "LZdarzen" || c == "N1" || c == "N2" || c == "IlT_ist" || c == "db_ist";
        fields.emplace_back(c, whole ? FieldType::Integer : FieldType::Float);
        if (!whole) masked.push_back(c);
        if (!bands || c == "LZdarzen" || c == "b_sigma" || c == "bp_sigma" || c == "h") continue;
        for (bool upper : {false, true}) {
            fields.emplace_back(BandFieldName(c, upper), FieldType::Float);
            masked.push_back(BandFieldName(c, upper));
        }
    }
    fields.emplace_back("Opis", FieldType::String, 40);
    Table& t = CreateResultTable(fields, {"Energia", "Energia_lo", "Energia_hi"});
    for (const std::string& c : masked)
        if (c.rfind("Energia", 0) != 0) t.setDisplayFormat(t.requireField(c), settings_.ProbabilityMask);
    const auto slot = [&t](const std::string& name) {
        return static_cast<std::size_t>(t.requireField(name));
    };
    const auto real = [](double v) { return std::isfinite(v) ? Value::real(v) : Value{}; };
    const auto flag = [](int v) { return v < 0 ? Value{} : Value::integer(v); };
    for (std::size_t node = 0; node < grid.size(); ++node) {
        std::vector<Value> record(t.fields().size());
        record[slot("X")] = Value::real(grid.x(node));
        record[slot("Y")] = Value::real(grid.y(node));
        record[slot("N")] = Value::integer(sizes[node]);
        record[slot("Promien")] = Value::real(radii[node]);
        std::string note;
        if (IsChangeMap()) {
            const ChangeResult& c = changes[node];
            record[slot("Prog")] = real(c.threshold);
            if (!std::isnan(c.threshold)) {
                record[slot("N1")] = Value::integer(c.before);
                record[slot("N2")] = Value::integer(c.after);
            }
            record[slot("Tempo1")] = real(c.rateBefore);
            record[slot("Tempo2")] = real(c.rateAfter);
            record[slot("IlorazT")] = real(c.ratio);
            record[slot("IlT_lo")] = real(c.ratioLower);
            record[slot("IlT_hi")] = real(c.ratioUpper);
            record[slot("IlT_ist")] = flag(c.ratioSignificant);
            record[slot("b1")] = real(c.bBefore);
            record[slot("b2")] = real(c.bAfter);
            record[slot("Roznica_b")] = real(c.bDifference);
            record[slot("P_UTSU")] = real(c.utsuProbability);
            record[slot("p_LR")] = real(c.pValue);
            record[slot("db_ist")] = flag(c.bSignificant);
            note = c.failure;
        } else {
            const NodeResult& r = nodes[node];
            record[slot("Prog")] = real(r.threshold);
            for (Q q : parameters.quantities) {
                const std::string column = mapQuantityInfo(q).column;
                const double v = r.value[at(q)];
                if (q == Q::Count)
                    record[slot(column)] = Value::integer(sizes[node]);
                else
                    record[slot(column)] = real(v);
                if (bands && q != Q::Count) {
                    record[slot(BandFieldName(column, false))] = real(r.band[at(q)].lower);
                    record[slot(BandFieldName(column, true))] = real(r.band[at(q)].upper);
                }
                if (q == Q::BValue) record[slot("b_sigma")] = real(std::isnan(v) ? v : r.bError);
                if (q == Q::BPositive) record[slot("bp_sigma")] = real(std::isnan(v) ? v : r.bPositiveError);
                if (note.empty()) note = r.failure[at(q)];
            }
            if (std::any_of(parameters.quantities.begin(), parameters.quantities.end(), needsNonParametric))
                record[slot("h")] = real(r.smoothing);
        }
        if (note.size() > 40) note.resize(40);
        record[slot("Opis")] = Value::text(note);
        t.appendRecord(record);
    }
    t.first();
}

void HazardMap::CountEmpty() {
    std::map<std::pair<std::string, std::string>, int> counts;
    std::vector<std::pair<std::string, std::string>> order;
    const auto add = [&](const std::string& quantity, const std::string& reason) {
        auto [it, fresh] = counts.try_emplace({quantity, reason}, 0);
        if (fresh) order.push_back(it->first);
        ++it->second;
    };
    for (std::size_t node = 0; node < grid.size(); ++node) {
        if (IsChangeMap()) {
            if (!changes[node].failure.empty()) add("Zmiana b", changes[node].failure);
            continue;
        }
        for (Q q : parameters.quantities)
            if (!nodes[node].failure[at(q)].empty())
                add(mapQuantityInfo(q).caption, nodes[node].failure[at(q)]);
    }
    for (const auto& key : order) empty.push_back({key.first, key.second, counts[key]});
}

std::string HazardMap::NormalisationText() const {
    if (parameters.normalisation == MapNormalisation::Sample) return "w próbie węzła";
    const std::string unit = parameters.areaUnit == AreaUnit::SquareKilometre ? " km2" : " jedn.2 układu X/Y";
    return "na rok i " + number(parameters.referenceArea, settings_.UserLocale) + unit;
}

std::string HazardMap::ColumnCaption(const std::string& column) const {
    const std::string per = " (" + NormalisationText() + ")";
    const bool months = parameters.unit == TimeUnit::Months;
    const std::string m = number(parameters.magnitude, settings_.UserLocale);
    const std::string d = number(parameters.duration, settings_.UserLocale) + " " +
                          durationUnitGenitive(parameters.duration, parameters.unit);
    for (const MapQuantityInfo& i : mapQuantities()) {
        if (column != i.column) continue;
        switch (i.quantity) {
            case Q::Rate:
            case Q::Energy:
            case Q::LogEnergy:
            case Q::AValue: return i.caption + per;
            case Q::Hazard:
            case Q::NpHazard: return std::string(i.caption) + ": P(M >= " + m + " w ciągu " + d + ")";
            case Q::ReturnPeriod:
            case Q::NpReturnPeriod:
                return std::string(i.caption) + " M >= " + m + (months ? " [miesiące]" : " [kwartały]");
            default: return i.caption;
        }
    }
    if (column == "IlorazT") return "Iloraz tempa zjawisk (okres 2 / okres 1)";
    if (column == "Roznica_b") return "Różnica współczynnika b (okres 2 - okres 1)";
    if (column == "p_LR") return "Istotność różnicy b (test Utsu, p)";
    if (column == "P_UTSU") return "Prawdopodobieństwo Utsu równości b";
    return column;
}

std::optional<std::vector<double>> HazardMap::ColumnValues(const std::string& column) const {
    Table& t = *resultTable;
    const int f = t.fieldIndex(column);
    if (f < 0) return std::nullopt;
    const Column& c = t.column(f);
    std::vector<double> out(grid.size(), kNoValue);
    for (std::size_t node = 0; node < grid.size(); ++node)
        if (!c.isNull(node)) out[node] = c.numberAt(node);
    return out;
}

bool HazardMap::WriteReport(ReportLines& lines) {
    const Locale& loc = settings_.UserLocale;
    const HazardMapParameters& p = parameters;
    WriteReportOpening(*this, lines, title);
    lines.push_back(ReportLabel("Okres czasu:") + formatDate(static_cast<std::int32_t>(firstDay), loc) +
                    " do " + formatDate(static_cast<std::int32_t>(lastDay), loc));
    lines.push_back(ReportLabel("Próg kompletności katalogu:") +
                    FormatMagnitudeEnergy(*this, settings_.MMin));
    lines.push_back(ReportLabel("Zlokalizowane zjawiska:") + std::to_string(points.size()));
    lines.push_back("");
    lines.push_back("  Siatka:");
    lines.push_back(ReportLabel("   Węzły:") + std::to_string(grid.columns) + " × " +
                    std::to_string(grid.rows) + " = " + std::to_string(grid.size()));
    lines.push_back(ReportLabel("   Pierwszy węzeł (X, Y):") + number(grid.x0, loc) + ", " +
                    number(grid.y0, loc));
    lines.push_back(ReportLabel("   Rozmiar komórki:") + number(grid.cell, loc) +
                    (p.grid.cellSize ? "" : " (dobrany: około 50 węzłów wzdłuż dłuższego boku)"));
    lines.push_back(ReportLabel("   Zasięg:") + (p.grid.box ? "obszar mapy" : "zlokalizowane zjawiska"));
    lines.push_back("  Próba węzła:");
    if (p.sampling.kind == SamplingKind::Radius)
        lines.push_back("   wszystkie zjawiska w promieniu R = " + number(p.sampling.radius, loc));
    else
        lines.push_back("   N = " + std::to_string(p.sampling.nearest) + " najbliższych zjawisk" +
                        (p.sampling.maxRadius > 0.0
                             ? " w promieniu Rmax = " + number(p.sampling.maxRadius, loc)
                             : std::string(" (bez ograniczenia promienia)")));
    lines.push_back("   (k-drzewo; Wiemer i Wyss, J. Geophys. Res. 102, 1997)");
    lines.push_back(ReportLabel("   Minimalna liczba zjawisk:") + std::to_string(p.sampling.minEvents));
    lines.push_back(std::string("  Próg statystyk: ") +
                    (p.threshold == MapThreshold::MMin
                         ? "MMin"
                         : std::string("max(Mc węzła, MMin), Mc: ") + mcMethodCaption(p.mcMethod) +
                               ", przedział " + number(p.mcBinWidth, loc)));
    lines.push_back("");
    lines.push_back("  Normalizacja:");
    if (p.normalisation == MapNormalisation::AreaAndTime) {
        lines.push_back("   Tempo, energia, wsp. a i hazard " + NormalisationText() +
                        ": zjawiska węzła od progu przez okres wszystkich");
        lines.push_back(
            "   zlokalizowanych zjawisk i pole koła próby węzła (pi · promień^2), przeliczone na pole");
        lines.push_back("   odniesienia (Wesseloo, Rock Mech. Rock Eng. 51, 2018): wielkość komórki siatki");
        lines.push_back("   nie zmienia tempa węzła.");
        if (p.areaUnit == AreaUnit::SquareKilometre)
            lines.push_back("   Jednostka współrzędnych X/Y: " + number(p.metresPerUnit, loc) + " m");
    } else {
        lines.push_back("   Jak analiza jednej próby: tempo z okresu zjawisk węzła, bez pola; energia sumą.");
    }
    lines.push_back("");
    if (IsChangeMap()) {
        lines.push_back("  Mapa zmian między okresami:");
        lines.push_back("   Okres 1: " + formatDate(p.before->first, loc) + " do " +
                        formatDate(p.before->last, loc));
        lines.push_back("   Okres 2: " + formatDate(p.after->first, loc) + " do " +
                        formatDate(p.after->last, loc));
        lines.push_back(
            "   Iloraz tempa (IlorazT) z dokładnym przedziałem Poissona (Clopper–Pearson warunkowo),");
        lines.push_back(
            "   różnica b (Aki–Utsu) z testem Utsu (1992): P_UTSU i p ilorazu wiarygodności (p_LR).");
        lines.push_back("   Poziom istotności: " + number(p.significance, loc));
    } else {
        lines.push_back("  Wielkości:");
        for (Q q : p.quantities)
            lines.push_back("   " + std::string(mapQuantityInfo(q).column) + ": " +
                            ColumnCaption(mapQuantityInfo(q).column));
        lines.push_back(
            "   b: Aki (1965), Utsu (1965), błąd Shi i Bolt (1982); b-dodatni: van der Elst (2021);");
        lines.push_back("   Mmax i hazard parametryczny: Kijko i Sellevoll (1989); nieparametryczny: jądro");
        lines.push_back("   adaptacyjne z własnym współczynnikiem gładkości węzła (Kijko 2004).");
        lines.push_back(std::string("   Górna granica całkowania MMax: ") +
                        (p.variableUpperLimit ? "zmienna" : "stała (największa magnituda obserwowana)"));
        if (p.bootstrap.enabled)
            lines.push_back(BandHeading(p.bootstrap, loc) + " w każdym węźle): kolumny _lo i _hi");
    }
    lines.push_back("");
    int filled = 0;
    for (std::size_t node = 0; node < grid.size(); ++node)
        filled += sizes[node] >= p.sampling.minEvents ? 1 : 0;
    lines.push_back(ReportLabel("Węzły z próbą:") + std::to_string(filled) + " z " +
                    std::to_string(grid.size()));
    if (!empty.empty()) {
        lines.push_back("  Puste wartości według przyczyny:");
        for (const EmptyCount& e : empty)
            lines.push_back("   " + e.quantity + ": " + e.reason + " - " + std::to_string(e.nodes));
    }
    lines.push_back(ReportMarker(*this, "<p>"));
    return true;
}

}  // namespace zorv
