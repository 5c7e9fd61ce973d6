#include "table/FilterSyntax.h"

#include <algorithm>
#include <charconv>

#include "table/Table.h"
#include "table/TableError.h"

namespace zorv::filter {

namespace {

// Deeper nesting than this is refused rather than risking the stack: no
// filter anyone writes comes near it.
constexpr int kMaxNesting = 100;
constexpr int kMaxHeight = 200;

enum class Tok : std::uint8_t {
    End,
    Number,
    Text,
    Name,
    And,
    Or,
    Not,
    Is,
    Null,
    True,
    False,
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge,
    Plus,
    Minus,
    Star,
    Slash,
    LParen,
    RParen,
};

struct Token {
    Tok kind = Tok::End;
    std::size_t pos = 0;
    std::size_t end = 0;
    std::string text;  // literal text or field name
    double number = 0.0;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
// Bytes of multi-byte UTF-8 characters count as letters so that a name with
// a Polish letter reads as one (unknown) name, not as a stray character.
bool isNameStart(char c) { return isLetter(c) || static_cast<unsigned char>(c) >= 0x80; }
bool isNameChar(char c) { return isNameStart(c) || isDigit(c); }

bool sameWord(std::string_view a, std::string_view keyword) {
    if (a.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (c != keyword[i]) return false;
    }
    return true;
}

std::size_t utf8Length(std::string_view s) {
    std::size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

// A piece of the expression for a message, clipped to a readable length.
std::string quote(std::string_view s) {
    constexpr std::size_t kMax = 40;
    std::string out = "'";
    if (s.size() <= kMax) {
        out += s;
    } else {
        std::size_t cut = kMax;
        while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;
        out += s.substr(0, cut);
        out += "...";
    }
    return out + "'";
}

class Scanner {
public:
    explicit Scanner(std::string_view text) : s_(text) {}

    Token next() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n')) ++i_;
        Token t;
        t.pos = i_;
        if (i_ >= s_.size()) {
            t.end = i_;
            return t;
        }
        const char c = s_[i_];
        if (isDigit(c) || (c == '.' && i_ + 1 < s_.size() && isDigit(s_[i_ + 1]))) {
            number(t);
        } else if (c == '\'') {
            textLiteral(t);
        } else if (c == '"') {
            quotedName(t);
        } else if (isNameStart(c)) {
            while (i_ < s_.size() && isNameChar(s_[i_])) ++i_;
            t.text = std::string(s_.substr(t.pos, i_ - t.pos));
            t.kind = keyword(t.text);
        } else {
            symbol(t);
        }
        t.end = i_;
        return t;
    }

private:
    static Tok keyword(std::string_view w) {
        if (sameWord(w, "AND")) return Tok::And;
        if (sameWord(w, "OR")) return Tok::Or;
        if (sameWord(w, "NOT")) return Tok::Not;
        if (sameWord(w, "IS")) return Tok::Is;
        if (sameWord(w, "NULL")) return Tok::Null;
        if (sameWord(w, "TRUE")) return Tok::True;
        if (sameWord(w, "FALSE")) return Tok::False;
        return Tok::Name;
    }

    void number(Token& t) {
        const std::size_t start = i_;
        bool bad = false;
        while (i_ < s_.size() && isDigit(s_[i_])) ++i_;
        if (i_ < s_.size() && s_[i_] == '.') {
            ++i_;
            while (i_ < s_.size() && isDigit(s_[i_])) ++i_;
        }
        if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
            std::size_t j = i_ + 1;
            if (j < s_.size() && (s_[j] == '+' || s_[j] == '-')) ++j;
            if (j < s_.size() && isDigit(s_[j])) {
                i_ = j;
                while (i_ < s_.size() && isDigit(s_[i_])) ++i_;
            } else {
                bad = true;
            }
        }
        // A number running straight into letters or a second point (such as
        // 12abc or an unquoted date 01.04.2004) is one faulty word.
        if (bad || (i_ < s_.size() && (isNameChar(s_[i_]) || s_[i_] == '.'))) {
            std::size_t end = i_;
            while (end < s_.size() && (isNameChar(s_[end]) || s_[end] == '.')) ++end;
            const std::string_view word = s_.substr(start, end - start);
            const bool dateLike = std::count(word.begin(), word.end(), '.') == 2;
            fail(s_, start,
                 "niepoprawna liczba " + quote(word) + (dateLike ? " (datę należy ująć w apostrofy)" : ""));
        }
        const char* first = s_.data() + start;
        const char* last = s_.data() + i_;
        const auto r = std::from_chars(first, last, t.number);
        if (r.ec == std::errc::result_out_of_range)
            fail(s_, start, "liczba " + quote(s_.substr(start, i_ - start)) + " jest poza zakresem");
        if (r.ec != std::errc() || r.ptr != last)
            fail(s_, start, "niepoprawna liczba " + quote(s_.substr(start, i_ - start)));
        t.kind = Tok::Number;
    }

    void textLiteral(Token& t) {
        const std::size_t start = i_++;
        for (;;) {
            if (i_ >= s_.size()) fail(s_, start, "tekst nie został zamknięty apostrofem");
            if (s_[i_] == '\'') {
                if (i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
                    t.text += '\'';
                    i_ += 2;
                    continue;
                }
                ++i_;
                break;
            }
            t.text += s_[i_++];
        }
        t.kind = Tok::Text;
    }

    void quotedName(Token& t) {
        const std::size_t start = i_++;
        const std::size_t close = s_.find('"', i_);
        if (close == std::string_view::npos) fail(s_, start, "nazwa pola nie została zamknięta cudzysłowem");
        t.text = std::string(s_.substr(i_, close - i_));
        i_ = close + 1;
        t.kind = Tok::Name;
    }

    void symbol(Token& t) {
        const char c = s_[i_];
        const char d = i_ + 1 < s_.size() ? s_[i_ + 1] : '\0';
        auto one = [&](Tok k) {
            t.kind = k;
            ++i_;
        };
        auto two = [&](Tok k) {
            t.kind = k;
            i_ += 2;
        };
        switch (c) {
            case '=': return one(Tok::Eq);
            case '<':
                if (d == '>') return two(Tok::Ne);
                if (d == '=') return two(Tok::Le);
                return one(Tok::Lt);
            case '>':
                if (d == '=') return two(Tok::Ge);
                return one(Tok::Gt);
            case '+': return one(Tok::Plus);
            case '-': return one(Tok::Minus);
            case '*': return one(Tok::Star);
            case '/': return one(Tok::Slash);
            case '(': return one(Tok::LParen);
            case ')': return one(Tok::RParen);
            case ',': fail(s_, i_, "niedozwolony znak ',' (część ułamkową liczby oddziela się kropką)");
            case '!':
                if (d == '=') fail(s_, i_, "niedozwolony symbol '!=' (nierówność zapisuje się <>)");
                break;
            default: break;
        }
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            static const char* hex = "0123456789ABCDEF";
            fail(s_, i_,
                 std::string("niedozwolony znak sterujący (kod 0x") + hex[b >> 4] + hex[b & 15] + ")");
        }
        fail(s_, i_, "niedozwolony znak " + quote(s_.substr(i_, 1)));
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

class Parser {
public:
    Parser(std::string_view text, const Table& table) : s_(text), table_(table), scan_(text) { advance(); }

    std::unique_ptr<Ast> parseAll() {
        auto e = parseOr();
        if (tok_.kind == Tok::RParen) fail(s_, tok_.pos, "nawias zamykający bez otwierającego");
        if (tok_.kind != Tok::End)
            fail(s_, tok_.pos, "oczekiwano AND, OR lub końca wyrażenia, a jest " + quote(tokenText()));
        return e;
    }

private:
    struct Nesting {
        Nesting(Parser& p, std::size_t pos) : p_(p) {
            if (++p_.depth_ > kMaxNesting) fail(p_.s_, pos, "wyrażenie jest zbyt głęboko zagnieżdżone");
        }
        ~Nesting() { --p_.depth_; }
        Parser& p_;
    };

    void advance() { tok_ = scan_.next(); }
    std::string_view tokenText() const { return s_.substr(tok_.pos, tok_.end - tok_.pos); }

    std::unique_ptr<Ast> node(Ast::Kind kind, std::size_t pos) {
        auto n = std::make_unique<Ast>();
        n->kind = kind;
        n->pos = pos;
        return n;
    }

    std::unique_ptr<Ast> join(std::unique_ptr<Ast> n) {
        int h = 0;
        for (const auto& c : n->children) h = std::max(h, c->height);
        n->height = h + 1;
        if (n->height > kMaxHeight) fail(s_, n->pos, "wyrażenie jest zbyt złożone");
        return n;
    }

    std::unique_ptr<Ast> parseChain(Tok op, Ast::Kind kind, std::unique_ptr<Ast> (Parser::*operand)()) {
        auto first = (this->*operand)();
        if (tok_.kind != op) return first;
        auto n = node(kind, first->pos);
        n->children.push_back(std::move(first));
        while (tok_.kind == op) {
            advance();
            n->children.push_back((this->*operand)());
        }
        return join(std::move(n));
    }

    std::unique_ptr<Ast> parseOr() { return parseChain(Tok::Or, Ast::Kind::Or, &Parser::parseAnd); }
    std::unique_ptr<Ast> parseAnd() { return parseChain(Tok::And, Ast::Kind::And, &Parser::parseNot); }

    std::unique_ptr<Ast> parseNot() {
        if (tok_.kind != Tok::Not) return parseCmp();
        Nesting guard(*this, tok_.pos);
        auto n = node(Ast::Kind::Not, tok_.pos);
        advance();
        n->children.push_back(parseNot());
        return join(std::move(n));
    }

    static bool comparison(Tok k, CmpOp& op) {
        switch (k) {
            case Tok::Eq: op = CmpOp::Eq; return true;
            case Tok::Ne: op = CmpOp::Ne; return true;
            case Tok::Lt: op = CmpOp::Lt; return true;
            case Tok::Gt: op = CmpOp::Gt; return true;
            case Tok::Le: op = CmpOp::Le; return true;
            case Tok::Ge: op = CmpOp::Ge; return true;
            default: return false;
        }
    }

    std::unique_ptr<Ast> parseCmp() {
        auto left = parseSum();
        CmpOp op{};
        if (comparison(tok_.kind, op)) {
            auto n = node(Ast::Kind::Compare, left->pos);
            n->opPos = tok_.pos;
            n->cmp = op;
            advance();
            n->children.push_back(std::move(left));
            n->children.push_back(parseSum());
            return join(std::move(n));
        }
        if (tok_.kind == Tok::Is) {
            auto n = node(Ast::Kind::IsNull, left->pos);
            n->opPos = tok_.pos;
            advance();
            if (tok_.kind == Tok::Not) {
                n->negated = true;
                advance();
            }
            if (tok_.kind != Tok::Null) fail(s_, tok_.pos, "po IS oczekiwano NULL albo NOT NULL");
            advance();
            n->children.push_back(std::move(left));
            return join(std::move(n));
        }
        return left;
    }

    std::unique_ptr<Ast> parseBinary(bool sum) {
        auto left = sum ? parseBinary(false) : parseUnary();
        for (;;) {
            ArithOp op{};
            if (sum && tok_.kind == Tok::Plus)
                op = ArithOp::Add;
            else if (sum && tok_.kind == Tok::Minus)
                op = ArithOp::Sub;
            else if (!sum && tok_.kind == Tok::Star)
                op = ArithOp::Mul;
            else if (!sum && tok_.kind == Tok::Slash)
                op = ArithOp::Div;
            else
                return left;
            auto n = node(Ast::Kind::Arith, left->pos);
            n->opPos = tok_.pos;
            n->arith = op;
            advance();
            n->children.push_back(std::move(left));
            n->children.push_back(sum ? parseBinary(false) : parseUnary());
            left = join(std::move(n));
        }
    }

    std::unique_ptr<Ast> parseSum() { return parseBinary(true); }

    std::unique_ptr<Ast> parseUnary() {
        if (tok_.kind != Tok::Minus) return parsePrimary();
        Nesting guard(*this, tok_.pos);
        auto n = node(Ast::Kind::Neg, tok_.pos);
        n->opPos = tok_.pos;
        advance();
        n->children.push_back(parseUnary());
        return join(std::move(n));
    }

    std::unique_ptr<Ast> parsePrimary() {
        const std::size_t pos = tok_.pos;
        switch (tok_.kind) {
            case Tok::Number: {
                auto n = node(Ast::Kind::Number, pos);
                n->number = tok_.number;
                advance();
                return n;
            }
            case Tok::Text: {
                auto n = node(Ast::Kind::Text, pos);
                n->text = std::move(tok_.text);
                advance();
                return n;
            }
            case Tok::Name: {
                const int f = table_.fieldIndex(tok_.text);
                if (f < 0) fail(s_, pos, "nieznane pole " + quote(tok_.text));
                auto n = node(Ast::Kind::Field, pos);
                n->field = f;
                n->text = std::move(tok_.text);
                advance();
                return n;
            }
            case Tok::True:
            case Tok::False: {
                auto n = node(Ast::Kind::Boolean, pos);
                n->boolean = tok_.kind == Tok::True;
                advance();
                return n;
            }
            case Tok::LParen: {
                Nesting guard(*this, pos);
                advance();
                auto e = parseOr();
                if (tok_.kind == Tok::End) fail(s_, pos, "nawias nie został zamknięty");
                if (tok_.kind != Tok::RParen)
                    fail(s_, tok_.pos, "oczekiwano ')', a jest " + quote(tokenText()));
                advance();
                e->pos = pos;
                return e;
            }
            case Tok::End: fail(s_, pos, "wyrażenie urywa się, brak wartości");
            case Tok::RParen: fail(s_, pos, "nieoczekiwany nawias zamykający, brak wartości");
            default: break;
        }
        fail(s_, pos, "oczekiwano pola, liczby lub tekstu, a jest " + quote(tokenText()));
    }

    std::string_view s_;
    const Table& table_;
    Scanner scan_;
    Token tok_;
    int depth_ = 0;
};

}  // namespace

void fail(std::string_view text, std::size_t pos, const std::string& cause) {
    pos = std::min(pos, text.size());
    std::string msg =
        "Błąd w wyrażeniu filtrującym na pozycji " + std::to_string(utf8Length(text.substr(0, pos)) + 1);
    if (pos == text.size()) msg += " (koniec wyrażenia)";
    throw FilterError(msg + ": " + cause, pos);
}

std::unique_ptr<Ast> parse(std::string_view text, const Table& table) {
    return Parser(text, table).parseAll();
}

}  // namespace zorv::filter
