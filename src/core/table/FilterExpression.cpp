#include "table/FilterExpression.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>
#include <string>

#include "table/FilterNodes.h"
#include "table/FilterSyntax.h"
#include "table/Table.h"
#include "table/TableError.h"
#include "text/DateText.h"
#include "text/Dates.h"
#include "text/TextCase.h"

namespace zorv {

namespace {

using namespace filter_nodes;
using filter::Ast;

// ---------------------------------------------------------------- typing

enum class Type : std::uint8_t { Number, Date, Time, Text, Logical, Unsupported };

// Polish names of the kinds, in the cases the messages need.
const char* nominative(Type t) {
    switch (t) {
        case Type::Number: return "liczba";
        case Type::Date: return "data";
        case Type::Time: return "godzina";
        case Type::Text: return "tekst";
        case Type::Logical: return "wartość logiczna";
        case Type::Unsupported: break;
    }
    return "pole nieobsługiwanego typu";
}
const char* genitive(Type t) {
    switch (t) {
        case Type::Number: return "liczby";
        case Type::Date: return "daty";
        case Type::Time: return "godziny";
        case Type::Text: return "tekstu";
        case Type::Logical: return "wartości logicznej";
        case Type::Unsupported: break;
    }
    return "pola nieobsługiwanego typu";
}
const char* instrumental(Type t) {
    switch (t) {
        case Type::Number: return "liczbą";
        case Type::Date: return "datą";
        case Type::Time: return "godziną";
        case Type::Text: return "tekstem";
        case Type::Logical: return "wartością logiczną";
        case Type::Unsupported: break;
    }
    return "polem nieobsługiwanego typu";
}

Type typeOf(FieldType f) {
    switch (f) {
        case FieldType::String:
        case FieldType::Memo: return Type::Text;
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::Word:
        case FieldType::LargeInt:
        case FieldType::Float:
        case FieldType::AutoInc: return Type::Number;
        case FieldType::Boolean: return Type::Logical;
        case FieldType::Date:
        case FieldType::DateTime: return Type::Date;
        case FieldType::Time: return Type::Time;
        case FieldType::Unknown: break;
    }
    return Type::Unsupported;
}

bool isNumeric(Type t) { return t == Type::Number || t == Type::Date || t == Type::Time; }

// A compiled operand: a value of some kind, or a condition.
struct Operand {
    Type type = Type::Number;
    std::size_t pos = 0;
    int field = -1;                // a field standing alone
    std::unique_ptr<NumNode> num;  // Number, Date, Time
    PredPtr pred;                  // Logical: a condition
    bool literal = false;          // Text: a quoted literal; Logical: TRUE / FALSE
    std::string text;              // the literal's text
    bool value = false;            // TRUE / FALSE
};

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// H:mm, H:mm:ss or H:mm:ss.zzz as a fraction of a day.
std::optional<double> parseTimeText(std::string_view s) {
    s = trimBlanks(s);
    std::size_t i = 0;
    // Reads 1..maxDigits digits; `digits` says how many.
    auto number = [&](std::size_t maxDigits, int& value, std::size_t& digits) {
        value = 0;
        const std::size_t start = i;
        while (i < s.size() && i - start < maxDigits && s[i] >= '0' && s[i] <= '9')
            value = value * 10 + (s[i++] - '0');
        digits = i - start;
        return digits > 0;
    };
    TimeOfDay t;
    std::size_t n = 0;
    if (!number(2, t.hour, n) || i >= s.size() || s[i++] != ':' || !number(2, t.minute, n))
        return std::nullopt;
    if (i < s.size() && s[i] == ':') {
        ++i;
        if (!number(2, t.second, n)) return std::nullopt;
        if (i < s.size() && s[i] == '.') {
            ++i;
            if (!number(3, t.msec, n)) return std::nullopt;
            for (; n < 3; ++n) t.msec *= 10;  // .5 is 500 ms
        }
    }
    if (i != s.size() || t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
    return dayFraction(t);
}

// A date, optionally followed by a time of day, as a day number.
std::optional<double> parseDateText(std::string_view s, const Locale& locale) {
    s = trimBlanks(s);
    if (const auto d = parseDate(s, locale)) return *d;
    const std::size_t blank = s.find_last_of(" \t");
    if (blank == std::string_view::npos) return std::nullopt;
    const auto d = parseDate(s.substr(0, blank), locale);
    const auto t = parseTimeText(s.substr(blank + 1));
    if (!d || !t) return std::nullopt;
    return *d + *t;
}

// The short date pattern as a Polish user writes it (dd.mm.rrrr).
std::string patternForUser(const std::string& pattern) {
    std::string out = pattern;
    for (char& c : out) {
        if (c == 'M') c = 'm';
        if (c == 'y') c = 'r';
    }
    return out;
}

std::string quoted(std::string_view s) { return "'" + std::string(s) + "'"; }

class Compiler {
public:
    Compiler(std::string_view text, const Table& table, const FilterExpression::Options& options)
        : s_(text), t_(table), o_(options) {}

    PredPtr condition(const Ast& a) { return toCondition(compile(a)); }

    // Fields the compiled tree reads, with the types it was compiled for.
    std::vector<std::pair<int, FieldType>> used;

private:
    [[noreturn]] void fail(std::size_t pos, const std::string& cause) const { filter::fail(s_, pos, cause); }

    PredPtr toCondition(Operand o) {
        if (o.type != Type::Logical)
            fail(o.pos, std::string("oczekiwano warunku, a jest ") + nominative(o.type));
        if (o.pred) return std::move(o.pred);
        if (o.field >= 0) return std::make_unique<BoolFieldTest>(o.field);
        return std::make_unique<ConstPred>(o.value);
    }

    static Operand logical(PredPtr p, std::size_t pos) {
        Operand o;
        o.type = Type::Logical;
        o.pos = pos;
        o.pred = std::move(p);
        return o;
    }

    static Operand number(std::unique_ptr<NumNode> n, Type type, std::size_t pos) {
        Operand o;
        o.type = type;
        o.pos = pos;
        o.num = std::move(n);
        return o;
    }

    Operand compile(const Ast& a) {
        switch (a.kind) {
            case Ast::Kind::Number: return number(std::make_unique<ConstNum>(a.number), Type::Number, a.pos);
            case Ast::Kind::Text: {
                Operand o;
                o.type = Type::Text;
                o.pos = a.pos;
                o.literal = true;
                o.text = a.text;
                return o;
            }
            case Ast::Kind::Boolean: {
                Operand o;
                o.type = Type::Logical;
                o.pos = a.pos;
                o.literal = true;
                o.value = a.boolean;
                return o;
            }
            case Ast::Kind::Field: return field(a);
            case Ast::Kind::Neg: return negate(a);
            case Ast::Kind::Arith: return arithmetic(a);
            case Ast::Kind::Compare: return compare(a);
            case Ast::Kind::IsNull: return isNull(a);
            case Ast::Kind::Not: {
                PredPtr p = condition(*a.children[0]);
                if (const auto c = p->constant()) return logical(std::make_unique<ConstPred>(!*c), a.pos);
                return logical(std::make_unique<NotPred>(std::move(p)), a.pos);
            }
            case Ast::Kind::And:
            case Ast::Kind::Or: return logical(junction(a), a.pos);
        }
        fail(a.pos, "nieznany element wyrażenia");
    }

    Operand field(const Ast& a) {
        const FieldType ft = t_.field(a.field).type;
        used.emplace_back(a.field, ft);
        Operand o;
        o.type = typeOf(ft);
        o.pos = a.pos;
        o.field = a.field;
        o.text = t_.field(a.field).name;
        if (isNumeric(o.type)) o.num = std::make_unique<FieldNum>(a.field);
        return o;
    }

    void requireNumeric(const Operand& o, std::size_t opPos) const {
        if (!isNumeric(o.type))
            fail(opPos, std::string("działanie arytmetyczne wymaga liczb, a tu jest ") + nominative(o.type));
    }

    Operand negate(const Ast& a) {
        Operand x = compile(*a.children[0]);
        requireNumeric(x, a.opPos);
        if (const auto c = x.num->constant())
            return number(std::make_unique<ConstNum>(-*c), Type::Number, a.pos);
        return number(std::make_unique<NegNum>(std::move(x.num)), Type::Number, a.pos);
    }

    Operand arithmetic(const Ast& a) {
        Operand x = compile(*a.children[0]);
        Operand y = compile(*a.children[1]);
        requireNumeric(x, a.opPos);
        requireNumeric(y, a.opPos);
        // A date moved by a number of days stays a date, as does a date plus
        // a time of day; any other mix is a plain number.
        Type r = Type::Number;
        const Type tx = x.type, ty = y.type;
        if (a.arith == ArithOp::Add || a.arith == ArithOp::Sub) {
            if (tx == Type::Date && (ty == Type::Number || ty == Type::Time)) r = Type::Date;
            if (tx == Type::Time && ty == Type::Number) r = Type::Time;
            if (a.arith == ArithOp::Add && ty == Type::Date && (tx == Type::Number || tx == Type::Time))
                r = Type::Date;
            if (a.arith == ArithOp::Add && ty == Type::Time && tx == Type::Number) r = Type::Time;
        }
        const auto cx = x.num->constant(), cy = y.num->constant();
        if (cx && cy) return number(std::make_unique<ConstNum>(arith(a.arith, *cx, *cy)), r, a.pos);
        return number(std::make_unique<ArithNum>(a.arith, std::move(x.num), std::move(y.num)), r, a.pos);
    }

    // A text literal met by a date or time: read it as one.
    void readLiteralAs(Operand& lit, Type as) const {
        std::optional<double> v;
        if (as == Type::Date) {
            v = parseDateText(lit.text, o_.locale);
            if (!v)
                fail(lit.pos, quoted(lit.text) + " nie jest datą (oczekiwany zapis " +
                                  patternForUser(o_.locale.shortDatePattern) + " lub rrrr-mm-dd)");
        } else {
            v = parseTimeText(lit.text);
            if (!v)
                fail(lit.pos, quoted(lit.text) + " nie jest godziną (oczekiwany zapis gg:mm lub gg:mm:ss)");
        }
        lit.type = as;
        lit.literal = false;
        lit.num = std::make_unique<ConstNum>(*v);
    }

    std::string fold(std::string s) const { return o_.caseInsensitive ? foldCase(s) : s; }

    Operand compare(const Ast& a) {
        Operand x = compile(*a.children[0]);
        Operand y = compile(*a.children[1]);
        CmpOp op = a.cmp;
        for (const Operand* o : {&x, &y})
            if (o->type == Type::Unsupported)
                fail(o->pos, "pole " + quoted(o->text) +
                                 " ma typ, którego nie można porównywać (można jedynie sprawdzić IS NULL)");
        if (x.type == Type::Text && x.literal && (y.type == Type::Date || y.type == Type::Time))
            readLiteralAs(x, y.type);
        if (y.type == Type::Text && y.literal && (x.type == Type::Date || x.type == Type::Time))
            readLiteralAs(y, x.type);

        const bool numbers = isNumeric(x.type) && isNumeric(y.type) &&
                             !(x.type == Type::Date && y.type == Type::Time) &&
                             !(x.type == Type::Time && y.type == Type::Date);
        if (x.type != y.type && !numbers)
            fail(a.opPos,
                 std::string("nie można porównać ") + genitive(x.type) + " z " + instrumental(y.type));

        if (x.type == Type::Text) return logical(compareTexts(op, x, y), a.pos);
        if (x.type == Type::Logical) {
            if (x.literal && y.literal)
                return logical(std::make_unique<ConstPred>(cmp(op, x.value, y.value)), a.pos);
            return logical(std::make_unique<LogicalCmp>(op, toLogical(std::move(x)), toLogical(std::move(y))),
                           a.pos);
        }

        auto cx = x.num->constant(), cy = y.num->constant();
        if ((cx && std::isnan(*cx)) || (cy && std::isnan(*cy)))
            return logical(std::make_unique<ConstPred>(false), a.pos);
        if (cx && cy) return logical(std::make_unique<ConstPred>(cmp(op, *cx, *cy)), a.pos);
        if (cx && y.field >= 0) {
            std::swap(x, y);
            std::swap(cx, cy);
            op = filter::flipped(op);
        }
        if (x.field >= 0 && cy) return logical(std::make_unique<FieldConstCmp>(t_, x.field, op, *cy), a.pos);
        return logical(std::make_unique<NumCmp>(op, std::move(x.num), std::move(y.num)), a.pos);
    }

    static Logical toLogical(Operand o) {
        Logical l;
        l.field = o.pred ? -1 : o.field;
        l.pred = std::move(o.pred);
        l.value = o.value;
        return l;
    }

    PredPtr compareTexts(CmpOp op, Operand& x, Operand& y) {
        if (x.literal && y.literal)
            return std::make_unique<ConstPred>(cmp(op, fold(x.text).compare(fold(y.text)), 0));
        if (x.literal) {
            std::swap(x, y);
            op = filter::flipped(op);
        }
        if (!y.literal) return std::make_unique<TextFieldsCmp>(op, x.field, y.field, o_.caseInsensitive);
        TextTest test{op, y.text, false};
        if ((op == CmpOp::Eq || op == CmpOp::Ne) && !test.literal.empty() && test.literal.back() == '*') {
            test.literal.pop_back();
            test.prefix = true;
        }
        test.literal = fold(std::move(test.literal));
        return std::make_unique<TextFieldTest>(x.field, o_.caseInsensitive, std::move(test));
    }

    Operand isNull(const Ast& a) {
        Operand x = compile(*a.children[0]);
        const bool neg = a.negated;
        if (x.field >= 0) return logical(std::make_unique<FieldNullTest>(x.field, neg), a.pos);
        if (x.num) {
            if (const auto c = x.num->constant())
                return logical(std::make_unique<ConstPred>(std::isnan(*c) != neg), a.pos);
            return logical(std::make_unique<NumNullTest>(std::move(x.num), neg), a.pos);
        }
        // Literals and conditions are never null.
        return logical(std::make_unique<ConstPred>(neg), a.pos);
    }

    // Gathers the operands of nested ANDs (or ORs) into one list.
    void gather(const Ast& a, Ast::Kind kind, std::vector<PredPtr>& out) {
        for (const auto& c : a.children) {
            if (c->kind == kind)
                gather(*c, kind, out);
            else
                out.push_back(condition(*c));
        }
    }

    PredPtr junction(const Ast& a) {
        const bool any = a.kind == Ast::Kind::Or;
        std::vector<PredPtr> parts;
        gather(a, a.kind, parts);
        std::vector<PredPtr> kept;
        for (auto& p : parts) {
            if (const auto c = p->constant()) {
                if (*c == any) return std::make_unique<ConstPred>(any);
                continue;
            }
            // Tests of one text field against literals join into one test
            // per distinct text (a list of zones ORed together).
            if (auto* tt = dynamic_cast<TextFieldTest*>(p.get()); tt && tt->canJoin(any)) {
                TextFieldTest* into = nullptr;
                for (auto& k : kept)
                    if (auto* kt = dynamic_cast<TextFieldTest*>(k.get());
                        kt && kt->field() == tt->field() && kt->canJoin(any)) {
                        into = kt;
                        break;
                    }
                if (into) {
                    into->join(*tt, any);
                    continue;
                }
            }
            kept.push_back(std::move(p));
        }
        if (kept.empty()) return std::make_unique<ConstPred>(!any);
        if (kept.size() == 1) return std::move(kept.front());
        std::stable_sort(kept.begin(), kept.end(),
                         [](const PredPtr& l, const PredPtr& r) { return l->cost() < r->cost(); });
        return std::make_unique<JunctionPred>(any, std::move(kept));
    }

    std::string_view s_;
    const Table& t_;
    const FilterExpression::Options& o_;
};

class CompiledFilter final : public FilterExpression {
public:
    CompiledFilter(PredPtr root, std::vector<std::pair<int, FieldType>> used)
        : root_(std::move(root)), used_(std::move(used)) {}

    bool matches(const Table& t, std::size_t row) const override {
        check(t);
        return root_->test(t, row);
    }

    std::vector<std::uint32_t> select(const Table& t) const override {
        check(t);
        // One list of every row, narrowed in place: fresh memory is what a
        // select() of a large table pays for most.
        Rows rows(t.physicalCount());
        std::iota(rows.begin(), rows.end(), 0u);
        root_->filter(t, rows, rows, false);
        // A list kept for a while (the table's view) should not hold room
        // for every row when few pass.
        if (rows.capacity() > 2 * rows.size() + 1024) rows.shrink_to_fit();
        return rows;
    }

    std::vector<int> fields() const override {
        std::vector<int> out;
        for (const auto& [f, type] : used_)
            if (out.empty() || out.back() != f) out.push_back(f);
        return out;
    }

private:
    // The tree reads typed storage directly: a table of another shape would
    // be read out of bounds, so refuse it.
    void check(const Table& t) const {
        for (const auto& [f, type] : used_)
            if (f >= t.fieldCount() || t.field(f).type != type)
                throw TableError("Wyrażenie filtrujące zostało przygotowane dla innej tabeli");
    }

    PredPtr root_;
    std::vector<std::pair<int, FieldType>> used_;
};

}  // namespace

std::shared_ptr<const FilterExpression> FilterExpression::parse(std::string_view text, const Table& table,
                                                                const Options& options) {
    const auto ast = filter::parse(text, table);
    Compiler compiler(text, table, options);
    PredPtr root = compiler.condition(*ast);
    std::sort(compiler.used.begin(), compiler.used.end());
    compiler.used.erase(std::unique(compiler.used.begin(), compiler.used.end()), compiler.used.end());
    return std::make_shared<CompiledFilter>(std::move(root), std::move(compiler.used));
}

}  // namespace zorv
