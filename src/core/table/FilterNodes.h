#pragma once
// The evaluation tree of a compiled filter expression: numeric nodes that
// fill a column of values for a block of rows, and conditions that keep the
// rows passing them. Nulls travel as NaN. Only the filter compiler
// (FilterExpression.cpp) builds and includes these.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "table/FilterSyntax.h"
#include "table/Table.h"
#include "text/TextCase.h"

namespace zorv::filter_nodes {
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
inline bool cmp(CmpOp op, T a, T b) {
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
inline bool cmpNullable(CmpOp op, double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return false;
    return cmp(op, a, b);
}

inline double arith(ArithOp op, double a, double b) {
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

inline void keepAll(const Rows& in, Rows& out) {
    if (&in != &out) out = in;
}

// `out` := `in` without `drop`, a sorted subset of it.
inline void subtract(const Rows& in, const Rows& drop, Rows& out) {
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

}  // namespace zorv::filter_nodes
