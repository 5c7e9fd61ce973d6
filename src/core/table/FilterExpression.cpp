#include "table/FilterExpression.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>
#include <string>

#include "table/FilterSyntax.h"
#include "table/Table.h"
#include "table/TableError.h"
#include "text/DateText.h"
#include "text/Dates.h"
#include "text/TextCase.h"

namespace zorv {

namespace {

using filter::ArithOp;
using filter::Ast;
using filter::CmpOp;
using Rows = std::vector<std::uint32_t>;

// Numeric values travel as doubles with NaN standing for null: a null field,
// or a division by zero.
constexpr double kNull = std::numeric_limits<double>::quiet_NaN();
// Rows evaluated together by the generic numeric comparison; small enough
// for the scratch arrays to live on the stack at every level of the tree.
constexpr std::size_t kBatch = 128;

template <CmpOp Op, typename T>
inline bool cmp(T a, T b) {
    if constexpr (Op == CmpOp::Eq) return a == b;
    if constexpr (Op == CmpOp::Ne) return a != b;
    if constexpr (Op == CmpOp::Lt) return a < b;
    if constexpr (Op == CmpOp::Gt) return a > b;
    if constexpr (Op == CmpOp::Le) return a <= b;
    if constexpr (Op == CmpOp::Ge) return a >= b;
}

template <typename T>
bool cmp(CmpOp op, T a, T b) {
    switch (op) {
        case CmpOp::Eq: return cmp<CmpOp::Eq>(a, b);
        case CmpOp::Ne: return cmp<CmpOp::Ne>(a, b);
        case CmpOp::Lt: return cmp<CmpOp::Lt>(a, b);
        case CmpOp::Gt: return cmp<CmpOp::Gt>(a, b);
        case CmpOp::Le: return cmp<CmpOp::Le>(a, b);
        case CmpOp::Ge: return cmp<CmpOp::Ge>(a, b);
    }
    return false;
}

// A comparison with null is false, <> included.
bool cmpNullable(CmpOp op, double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return false;
    return cmp(op, a, b);
}

double arith(ArithOp op, double a, double b) {
    switch (op) {
        case ArithOp::Add: return a + b;
        case ArithOp::Sub: return a - b;
        case ArithOp::Mul: return a * b;
        case ArithOp::Div: return b == 0.0 ? kNull : a / b;
    }
    return kNull;
}

// Row lists are ascending physical rows. A step reads `in` and writes the
// rows it keeps to `out`, which may be the same list (then it compacts in
// place); a distinct `out` is filled only with the rows kept, so memory is
// touched in proportion to what passes.
template <typename F>
void keepIf(const Rows& in, Rows& out, F&& pass) {
    if (&in == &out) {
        std::size_t k = 0;
        for (std::size_t i = 0; i < out.size(); ++i) {
            const std::uint32_t r = out[i];
            out[k] = r;
            k += pass(r) ? 1 : 0;
        }
        out.resize(k);
        return;
    }
    out.clear();
    out.reserve(in.size());
    for (const std::uint32_t r : in)
        if (pass(r)) out.push_back(r);
}

void keepAll(const Rows& in, Rows& out) {
    if (&in != &out) out = in;
}

// `out` := `in` without `drop`, a sorted subset of it.
void subtract(const Rows& in, const Rows& drop, Rows& out) {
    std::size_t j = 0;
    keepIf(in, out, [&](std::uint32_t r) {
        if (j < drop.size() && drop[j] == r) {
            ++j;
            return false;
        }
        return true;
    });
}

// ---------------------------------------------------------------- numbers

class NumNode {
public:
    virtual ~NumNode() = default;
    virtual double at(const Table& t, std::size_t row) const = 0;
    // Values of up to kBatch rows.
    virtual void batch(const Table& t, const std::uint32_t* rows, std::size_t n, double* out) const {
        for (std::size_t i = 0; i < n; ++i) out[i] = at(t, rows[i]);
    }
    virtual std::optional<double> constant() const { return std::nullopt; }
};

class ConstNum final : public NumNode {
public:
    explicit ConstNum(double v) : v_(v) {}
    double at(const Table&, std::size_t) const override { return v_; }
    void batch(const Table&, const std::uint32_t*, std::size_t n, double* out) const override {
        std::fill(out, out + n, v_);
    }
    std::optional<double> constant() const override { return v_; }

private:
    double v_;
};

class FieldNum final : public NumNode {
public:
    explicit FieldNum(int field) : f_(field) {}
    double at(const Table& t, std::size_t row) const override {
        const Column& c = t.column(f_);
        if (c.isNull(row)) return kNull;
        switch (c.storage()) {
            case StorageKind::Int32: return c.int32s()[row];
            case StorageKind::Int64: return static_cast<double>(c.int64s()[row]);
            case StorageKind::Double: return c.doubles()[row];
            default: return kNull;
        }
    }
    void batch(const Table& t, const std::uint32_t* rows, std::size_t n, double* out) const override {
        const Column& c = t.column(f_);
        switch (c.storage()) {
            case StorageKind::Int32:
                for (std::size_t i = 0; i < n; ++i) out[i] = c.int32s()[rows[i]];
                break;
            case StorageKind::Int64:
                for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<double>(c.int64s()[rows[i]]);
                break;
            case StorageKind::Double:
                for (std::size_t i = 0; i < n; ++i) out[i] = c.doubles()[rows[i]];
                break;
            default: std::fill(out, out + n, kNull); return;
        }
        if (c.hasNulls())
            for (std::size_t i = 0; i < n; ++i)
                if (c.isNull(rows[i])) out[i] = kNull;
    }

private:
    int f_;
};

class NegNum final : public NumNode {
public:
    explicit NegNum(std::unique_ptr<NumNode> a) : a_(std::move(a)) {}
    double at(const Table& t, std::size_t row) const override { return -a_->at(t, row); }
    void batch(const Table& t, const std::uint32_t* rows, std::size_t n, double* out) const override {
        a_->batch(t, rows, n, out);
        for (std::size_t i = 0; i < n; ++i) out[i] = -out[i];
    }

private:
    std::unique_ptr<NumNode> a_;
};

class ArithNum final : public NumNode {
public:
    ArithNum(ArithOp op, std::unique_ptr<NumNode> a, std::unique_ptr<NumNode> b)
        : op_(op), a_(std::move(a)), b_(std::move(b)) {}
    double at(const Table& t, std::size_t row) const override {
        return arith(op_, a_->at(t, row), b_->at(t, row));
    }
    void batch(const Table& t, const std::uint32_t* rows, std::size_t n, double* out) const override {
        double tmp[kBatch];
        a_->batch(t, rows, n, out);
        b_->batch(t, rows, n, tmp);
        for (std::size_t i = 0; i < n; ++i) out[i] = arith(op_, out[i], tmp[i]);
    }

private:
    ArithOp op_;
    std::unique_ptr<NumNode> a_, b_;
};

// ---------------------------------------------------------------- conditions

class Pred {
public:
    virtual ~Pred() = default;
    virtual bool test(const Table& t, std::size_t row) const = 0;
    // Keeps those of `in` whose test differs from `negate`: the passing
    // rows, or with `negate` the failing ones. Logic is two-valued, so NOT,
    // and AND and OR under NOT, are run by their operands without copying
    // row lists.
    virtual void filter(const Table& t, const Rows& in, Rows& out, bool negate) const {
        keepIf(in, out, [&](std::uint32_t r) { return test(t, r) != negate; });
    }
    // Rough work per row; a junction runs its cheap operands first.
    virtual int cost() const { return 2; }
    virtual std::optional<bool> constant() const { return std::nullopt; }
};

using PredPtr = std::unique_ptr<Pred>;

class ConstPred final : public Pred {
public:
    explicit ConstPred(bool v) : v_(v) {}
    bool test(const Table&, std::size_t) const override { return v_; }
    void filter(const Table&, const Rows& in, Rows& out, bool negate) const override {
        if (v_ == negate)
            out.clear();
        else
            keepAll(in, out);
    }
    int cost() const override { return 0; }
    std::optional<bool> constant() const override { return v_; }

private:
    bool v_;
};

// AND (all operands) or OR (any operand).
class JunctionPred final : public Pred {
public:
    JunctionPred(bool any, std::vector<PredPtr> parts) : any_(any), parts_(std::move(parts)) {}
    bool test(const Table& t, std::size_t row) const override {
        for (const auto& p : parts_)
            if (p->test(t, row) == any_) return any_;
        return !any_;
    }
    void filter(const Table& t, const Rows& in, Rows& out, bool negate) const override {
        const Rows* from = &in;
        if (any_ == negate) {
            // AND, or NOT OR: each operand narrows the rows in turn.
            for (const auto& p : parts_) {
                p->filter(t, *from, out, negate);
                from = &out;
                if (out.empty()) break;
            }
            return;
        }
        // OR, or NOT AND: find the rows no operand lets through, each
        // operand seeing only those the earlier ones left, and drop them.
        Rows rest;
        for (const auto& p : parts_) {
            p->filter(t, *from, rest, !negate);
            from = &rest;
            if (rest.empty()) break;
        }
        subtract(in, rest, out);
    }
    int cost() const override {
        int c = 0;
        for (const auto& p : parts_) c = std::max(c, p->cost());
        return c;
    }

private:
    bool any_;
    std::vector<PredPtr> parts_;
};

class NotPred final : public Pred {
public:
    explicit NotPred(PredPtr a) : a_(std::move(a)) {}
    bool test(const Table& t, std::size_t row) const override { return !a_->test(t, row); }
    void filter(const Table& t, const Rows& in, Rows& out, bool negate) const override {
        a_->filter(t, in, out, !negate);
    }
    int cost() const override { return a_->cost(); }

private:
    PredPtr a_;
};

// A numeric field against a constant: the common case, run straight over
// the column's storage.
class FieldConstCmp final : public Pred {
public:
    FieldConstCmp(const Table& t, int field, CmpOp op, double c) : f_(field), op_(op), c_(c) {
        // 64-bit integers beyond 2^53 lose digits as doubles; compare them
        // exactly when the constant is a whole number in their range.
        exact64_ =
            t.column(f_).storage() == StorageKind::Int64 && c == std::trunc(c) && c >= -9.2e18 && c <= 9.2e18;
        c64_ = exact64_ ? static_cast<std::int64_t>(c) : 0;
    }
    bool test(const Table& t, std::size_t row) const override {
        const Column& c = t.column(f_);
        if (c.isNull(row)) return false;
        switch (c.storage()) {
            case StorageKind::Int32: return cmp<double>(op_, c.int32s()[row], c_);
            case StorageKind::Int64:
                return exact64_ ? cmp(op_, c.int64s()[row], c64_)
                                : cmp(op_, static_cast<double>(c.int64s()[row]), c_);
            case StorageKind::Double: return cmp(op_, c.doubles()[row], c_);
            default: return false;
        }
    }
    void filter(const Table& t, const Rows& in, Rows& out, bool negate) const override {
        switch (op_) {
            case CmpOp::Eq: return run<CmpOp::Eq>(t, in, out, negate);
            case CmpOp::Ne: return run<CmpOp::Ne>(t, in, out, negate);
            case CmpOp::Lt: return run<CmpOp::Lt>(t, in, out, negate);
            case CmpOp::Gt: return run<CmpOp::Gt>(t, in, out, negate);
            case CmpOp::Le: return run<CmpOp::Le>(t, in, out, negate);
            case CmpOp::Ge: return run<CmpOp::Ge>(t, in, out, negate);
        }
    }
    int cost() const override { return 1; }

private:
    template <CmpOp Op, typename C, typename T>
    static void scan(const Column& col, const std::vector<T>& data, C c, const Rows& in, Rows& out,
                     bool negate) {
        if (col.hasNulls())
            keepIf(in, out, [&](std::uint32_t r) {
                return (!col.isNull(r) && cmp<Op, C>(static_cast<C>(data[r]), c)) != negate;
            });
        else
            keepIf(in, out,
                   [&](std::uint32_t r) { return cmp<Op, C>(static_cast<C>(data[r]), c) != negate; });
    }

    template <CmpOp Op>
    void run(const Table& t, const Rows& in, Rows& out, bool negate) const {
        const Column& c = t.column(f_);
        switch (c.storage()) {
            case StorageKind::Int32: return scan<Op, double>(c, c.int32s(), c_, in, out, negate);
            case StorageKind::Int64:
                if (exact64_) return scan<Op, std::int64_t>(c, c.int64s(), c64_, in, out, negate);
                return scan<Op, double>(c, c.int64s(), c_, in, out, negate);
            case StorageKind::Double: return scan<Op, double>(c, c.doubles(), c_, in, out, negate);
            default: return Pred::filter(t, in, out, negate);
        }
    }

    int f_;
    CmpOp op_;
    double c_;
    bool exact64_ = false;
    std::int64_t c64_ = 0;
};

class NumCmp final : public Pred {
public:
    NumCmp(CmpOp op, std::unique_ptr<NumNode> a, std::unique_ptr<NumNode> b)
        : op_(op), a_(std::move(a)), b_(std::move(b)) {}
    bool test(const Table& t, std::size_t row) const override {
        return cmpNullable(op_, a_->at(t, row), b_->at(t, row));
    }
    void filter(const Table& t, const Rows& in, Rows& out, bool negate) const override {
        double va[kBatch], vb[kBatch];
        const bool inPlace = &in == &out;
        if (!inPlace) {
            out.clear();
            out.reserve(in.size());
        }
        const std::size_t n = in.size();
        std::size_t k = 0;
        // In place, a chunk's values are read before any of its slots is
        // overwritten.
        for (std::size_t start = 0; start < n; start += kBatch) {
            const std::size_t m = std::min(kBatch, n - start);
            a_->batch(t, in.data() + start, m, va);
            b_->batch(t, in.data() + start, m, vb);
            for (std::size_t i = 0; i < m; ++i) {
                const std::uint32_t r = in[start + i];
                const bool keep = cmpNullable(op_, va[i], vb[i]) != negate;
                if (inPlace) {
                    out[k] = r;
                    k += keep ? 1 : 0;
                } else if (keep) {
                    out.push_back(r);
                }
            }
        }
        if (inPlace) out.resize(k);
    }

private:
    CmpOp op_;
    std::unique_ptr<NumNode> a_, b_;
};

// A text field tested against literals. The test is decided once per
// distinct text of the column's dictionary, then looked up per row.
struct TextTest {
    CmpOp op;
    std::string literal;  // folded when case is ignored
    bool prefix;          // = or <> against the literal's start
};

class TextFieldTest final : public Pred {
public:
    TextFieldTest(int field, bool caseInsensitive, TextTest test) : f_(field), ci_(caseInsensitive) {
        tests_.push_back(std::move(test));
    }
    int field() const { return f_; }
    // Whether this test can take further tests joined by OR (any) or AND.
    bool canJoin(bool any) const { return tests_.size() == 1 || any_ == any; }
    void join(TextFieldTest& other, bool any) {
        any_ = any;
        for (auto& t : other.tests_) tests_.push_back(std::move(t));
    }

    bool test(const Table& t, std::size_t row) const override {
        const Column& c = t.column(f_);
        return !c.isNull(row) && passes(c.textAt(row));
    }
    void filter(const Table& t, const Rows& in, Rows& out, bool negate) const override {
        const Column& c = t.column(f_);
        const std::size_t n = c.dictionarySize();
        // A column of free text can hold more distinct texts than there are
        // rows to decide; then test the rows themselves.
        if (n > in.size()) return Pred::filter(t, in, out, negate);
        std::vector<std::uint8_t> keep(n);
        for (std::uint32_t id = 0; id < n; ++id) keep[id] = passes(c.dictionaryText(id)) != negate ? 1 : 0;
        const auto& ids = c.textIds();
        if (c.hasNulls())
            keepIf(in, out, [&](std::uint32_t r) { return c.isNull(r) ? negate : keep[ids[r]] != 0; });
        else
            keepIf(in, out, [&](std::uint32_t r) { return keep[ids[r]] != 0; });
    }
    int cost() const override { return 1; }

private:
    bool passes(std::string_view s) const {
        std::string folded;
        if (ci_) {
            folded = foldCase(s);
            s = folded;
        }
        for (const auto& t : tests_) {
            const bool r = one(t, s);
            if (r == any_) return r;
        }
        return !any_;
    }
    static bool one(const TextTest& t, std::string_view s) {
        if (t.prefix) return s.starts_with(t.literal) == (t.op == CmpOp::Eq);
        return cmp(t.op, s.compare(t.literal), 0);
    }

    int f_;
    bool ci_;
    bool any_ = false;
    std::vector<TextTest> tests_;
};

// Two text fields compared with each other.
class TextFieldsCmp final : public Pred {
public:
    TextFieldsCmp(CmpOp op, int a, int b, bool caseInsensitive)
        : op_(op), a_(a), b_(b), ci_(caseInsensitive) {}
    bool test(const Table& t, std::size_t row) const override {
        const Column& a = t.column(a_);
        const Column& b = t.column(b_);
        if (a.isNull(row) || b.isNull(row)) return false;
        if (!ci_) return cmp(op_, a.textAt(row).compare(b.textAt(row)), 0);
        return cmp(op_, foldCase(a.textAt(row)).compare(foldCase(b.textAt(row))), 0);
    }
    void filter(const Table& t, const Rows& in, Rows& out, bool negate) const override {
        const Column& a = t.column(a_);
        const Column& b = t.column(b_);
        if (!ci_ || a.dictionarySize() + b.dictionarySize() > in.size())
            return Pred::filter(t, in, out, negate);
        // Fold each distinct text once rather than once a row.
        const auto fa = folded(a), fb = folded(b);
        keepIf(in, out, [&](std::uint32_t r) {
            return (!a.isNull(r) && !b.isNull(r) &&
                    cmp(op_, fa[a.textIds()[r]].compare(fb[b.textIds()[r]]), 0)) != negate;
        });
    }

private:
    static std::vector<std::string> folded(const Column& c) {
        std::vector<std::string> out(c.dictionarySize());
        for (std::uint32_t id = 0; id < out.size(); ++id) out[id] = foldCase(c.dictionaryText(id));
        return out;
    }

    CmpOp op_;
    int a_, b_;
    bool ci_;
};

class BoolFieldTest final : public Pred {
public:
    explicit BoolFieldTest(int field) : f_(field) {}
    bool test(const Table& t, std::size_t row) const override {
        const Column& c = t.column(f_);
        return !c.isNull(row) && c.int32s()[row] != 0;
    }
    int cost() const override { return 1; }

private:
    int f_;
};

// A logical operand: a condition, a logical field or TRUE / FALSE.
struct Logical {
    PredPtr pred;
    int field = -1;
    bool value = false;

    // 1 true, 0 false, -1 null.
    int at(const Table& t, std::size_t row) const {
        if (pred) return pred->test(t, row) ? 1 : 0;
        if (field < 0) return value ? 1 : 0;
        const Column& c = t.column(field);
        if (c.isNull(row)) return -1;
        return c.int32s()[row] != 0 ? 1 : 0;
    }
};

class LogicalCmp final : public Pred {
public:
    LogicalCmp(CmpOp op, Logical a, Logical b) : op_(op), a_(std::move(a)), b_(std::move(b)) {}
    bool test(const Table& t, std::size_t row) const override {
        const int x = a_.at(t, row), y = b_.at(t, row);
        return x >= 0 && y >= 0 && cmp(op_, x, y);
    }

private:
    CmpOp op_;
    Logical a_, b_;
};

class FieldNullTest final : public Pred {
public:
    FieldNullTest(int field, bool negated) : f_(field), negated_(negated) {}
    bool test(const Table& t, std::size_t row) const override {
        const Column& c = t.column(f_);
        return (c.storage() == StorageKind::None || c.isNull(row)) != negated_;
    }
    int cost() const override { return 1; }

private:
    int f_;
    bool negated_;
};

class NumNullTest final : public Pred {
public:
    NumNullTest(std::unique_ptr<NumNode> a, bool negated) : a_(std::move(a)), negated_(negated) {}
    bool test(const Table& t, std::size_t row) const override {
        return std::isnan(a_->at(t, row)) != negated_;
    }

private:
    std::unique_ptr<NumNode> a_;
    bool negated_;
};

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
