// The hazard map's named options, read once for zorv-batch and the Python
// module: the values they set, and the Polish message of each kind of wrong
// value; the time unit after "w ciągu D" in its Polish case.

#include <gtest/gtest.h>

#include <map>

#include "registry/HazardMapOptions.h"
#include "spatial/HazardMap.h"
#include "text/DateText.h"

namespace zorv {
namespace {

struct Options : OptionSource {
    std::multimap<std::string, std::string> given;
    Options(std::initializer_list<std::pair<const std::string, std::string>> o) : given(o) {}
    bool isSet(std::string_view name) const override { return given.count(std::string(name)) > 0; }
    std::vector<std::string> values(std::string_view name) const override {
        std::vector<std::string> out;
        const auto [from, to] = given.equal_range(std::string(name));
        for (auto i = from; i != to; ++i) out.push_back(i->second);
        return out;
    }
};

HazardMapParameters read(const Options& o) { return readHazardMapOptions(o, Preferences{}, Locale::point()); }

TEST(HazardMapOptions, SetTheParametersTheyName) {
    const HazardMapParameters p = read({{"quantity", "B,mc"},
                                        {"quantity", "b,hazard"},
                                        {"box", "0; 10;2000;1500"},
                                        {"cell", "25,5"},
                                        {"sampling", "radius"},
                                        {"radius", "300"},
                                        {"min-events", "30"},
                                        {"threshold", "mmin"},
                                        {"magnitude", "2.5"},
                                        {"duration", "3"},
                                        {"time-unit", "quarters"},
                                        {"before", "2000-01-01,2002-12-31"},
                                        {"after", "2003-01-01, 2005-12-31"}});
    // Repeated and listed quantities in order, each once, any case.
    EXPECT_EQ(p.quantities,
              (std::vector<MapQuantity>{MapQuantity::BValue, MapQuantity::Mc, MapQuantity::Hazard}));
    ASSERT_TRUE(p.grid.box);
    EXPECT_EQ(p.grid.box->y0, 10.0);
    EXPECT_EQ(p.grid.box->x1, 2000.0);
    EXPECT_EQ(*p.grid.cellSize, 25.5);
    EXPECT_EQ(p.sampling.kind, SamplingKind::Radius);
    EXPECT_EQ(p.sampling.radius, 300.0);
    EXPECT_EQ(p.sampling.minEvents, 30);
    EXPECT_EQ(p.threshold, MapThreshold::MMin);
    EXPECT_EQ(p.magnitude, 2.5);
    EXPECT_EQ(p.unit, TimeUnit::Quarters);
    ASSERT_TRUE(p.before && p.after);
    EXPECT_EQ(p.before->first, *parseDate("2000-01-01", Locale::point()));
    EXPECT_EQ(p.after->last, *parseDate("2005-12-31", Locale::point()));
    // The located events are those of the preferences' location filter.
    EXPECT_EQ(p.locationExpression, Preferences{}.X + Preferences{}.LocationFilter);
    // Without options: the N nearest, at most as many required as taken.
    const HazardMapParameters d = read({{"nearest", "20"}});
    EXPECT_EQ(d.sampling.kind, SamplingKind::Nearest);
    EXPECT_EQ(d.sampling.minEvents, 20);
}

TEST(HazardMapOptions, RefuseWrongValuesWithTheirMessage) {
    const struct {
        Options options;
        const char* message;
    } cases[] = {
        {{{"cell", "0"}}, "Rozmiar komórki siatki --cell musi być liczbą dodatnią."},
        {{{"box", "1;2;3"}}, "Opcja --box przyjmuje 4 liczby rozdzielone średnikiem."},
        {{{"sampling", "radius"}}, "Próba w promieniu wymaga opcji --radius R."},
        {{{"sampling", "all"}}, "Opcja --sampling przyjmuje radius lub nearest."},
        {{{"quantity", "gęstość"}}, "Nieznana wielkość w opcji --quantity: gęstość"},
        {{{"before", "2000-01-01,2001-01-01"}}, "Mapa zmian wymaga obu okresów"},
        {{{"before", "2000-01-01"}, {"after", "2003-01-01,2004-01-01"}}, "przyjmuje okres OD,DO"},
        {{{"nearest", "1"}}, "Opcja --nearest przyjmuje liczbę całkowitą od 2."},
        {{{"mc", "best"}}, "Nieznana metoda w opcji --mc: best"},
        {{{"threshold", "mean"}}, "Opcja --threshold przyjmuje mc lub mmin."},
    };
    for (const auto& c : cases) {
        try {
            read(c.options);
            ADD_FAILURE() << c.message;
        } catch (const OptionError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(HazardMapCaptions, TimeUnitAfterWCiaguInItsCase) {
    EXPECT_EQ(durationUnitGenitive(1.0, TimeUnit::Months), "miesiąca");
    EXPECT_EQ(durationUnitGenitive(1.5, TimeUnit::Months), "miesiąca");
    EXPECT_EQ(durationUnitGenitive(2.0, TimeUnit::Months), "miesięcy");
    EXPECT_EQ(durationUnitGenitive(12.0, TimeUnit::Months), "miesięcy");
    EXPECT_EQ(durationUnitGenitive(1.0, TimeUnit::Quarters), "kwartału");
    EXPECT_EQ(durationUnitGenitive(5.0, TimeUnit::Quarters), "kwartałów");
}

}  // namespace
}  // namespace zorv
