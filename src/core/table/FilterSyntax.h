#pragma once
// The syntax side of filter expressions: the scanner and the parser that turn
// the text into an untyped tree with field names already resolved. Typing and
// evaluation live in FilterExpression.cpp.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zorv {

class Table;

namespace filter {

enum class CmpOp : std::uint8_t { Eq, Ne, Lt, Gt, Le, Ge };
enum class ArithOp : std::uint8_t { Add, Sub, Mul, Div };

// `a op b` is `b flipped(op) a`.
constexpr CmpOp flipped(CmpOp op) {
    switch (op) {
        case CmpOp::Lt: return CmpOp::Gt;
        case CmpOp::Gt: return CmpOp::Lt;
        case CmpOp::Le: return CmpOp::Ge;
        case CmpOp::Ge: return CmpOp::Le;
        default: return op;
    }
}

struct Ast {
    enum class Kind : std::uint8_t {
        Number,   // number
        Text,     // text (the quoted literal, '' already undone)
        Field,    // field
        Boolean,  // TRUE / FALSE: boolean
        Neg,      // children[0]
        Arith,    // children[0] arith children[1]
        Compare,  // children[0] cmp children[1]
        IsNull,   // children[0] IS [NOT] NULL (negated for NOT)
        Not,      // children[0]
        And,      // children, two or more
        Or,       // children, two or more
    };

    Kind kind = Kind::Number;
    std::size_t pos = 0;    // byte offset of the node's first character
    std::size_t opPos = 0;  // byte offset of the operator (Arith, Compare, IsNull)
    CmpOp cmp = CmpOp::Eq;
    ArithOp arith = ArithOp::Add;
    bool negated = false;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    int field = -1;
    int height = 1;  // levels of the tree below and including this node
    std::vector<std::unique_ptr<Ast>> children;
};

// Parses `text`, resolving field names against `table`. Throws FilterError
// with the offset and a Polish message naming the cause.
std::unique_ptr<Ast> parse(std::string_view text, const Table& table);

// Throws the FilterError for a fault at byte `pos` of `text`. The message
// counts characters from 1, as a user reads them.
[[noreturn]] void fail(std::string_view text, std::size_t pos, const std::string& cause);

}  // namespace filter
}  // namespace zorv
