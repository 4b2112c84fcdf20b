// plural.cpp: plural rules read by gettext's grammar and worked out on a stack.
#include "runtime/plural.hpp"

#include <limits>

namespace numerak {

// Recursive descent, one function a precedence level, writing the steps in postfix order.
class PluralRule::Parser {
public:
    Parser(std::string_view text, PluralRule& rule) : text_(text), rule_(rule) {}

    bool whole() { return conditional() && (skipSpace(), at_ == text_.size()); }

private:
    // Counts one level of nesting for as long as it lives.
    struct Nested {
        explicit Nested(int& depth) : depth_(depth) { ++depth_; }
        ~Nested() { --depth_; }
        Nested(const Nested&) = delete;
        Nested& operator=(const Nested&) = delete;
        bool tooDeep() const { return depth_ > deepest; }
        int& depth_;
    };

    // c ? a : b, the branches to the right.
    bool conditional() {
        const Nested nested(depth_);
        if (nested.tooDeep() || !binary(0)) return false;
        if (!take("?")) return true;
        if (!conditional() || !take(":") || !conditional()) return false;
        append(Op::Choose);
        return true;
    }

    // The binary operators, loosest first, each level left to right.
    bool binary(int level) {
        if (level == levels) return unary();
        if (!binary(level + 1)) return false;
        Op op{};
        while (binaryOperator(level, op)) {
            if (!binary(level + 1)) return false;
            append(op);
        }
        return true;
    }

    bool binaryOperator(int level, Op& op) {
        struct Spelling {
            int level;
            std::string_view text;
            Op op;
        };
        // Two-character spellings before the one-character ones they begin with.
        static constexpr Spelling spellings[] = {
            {0, "||", Op::Or},     {1, "&&", Op::And},       {2, "==", Op::Equal}, {2, "!=", Op::NotEqual},
            {3, "<=", Op::LessEq}, {3, ">=", Op::GreaterEq}, {3, "<", Op::Less},   {3, ">", Op::Greater},
            {4, "+", Op::Add},     {4, "-", Op::Sub},        {5, "*", Op::Mul},    {5, "/", Op::Div},
            {5, "%", Op::Mod},
        };
        for (const Spelling& s : spellings)
            if (s.level == level && take(s.text)) {
                op = s.op;
                return true;
            }
        return false;
    }

    bool unary() {
        skipSpace();
        if (text_.substr(at_, 2) != "!=" && take("!")) {
            const Nested nested(depth_);
            if (nested.tooDeep() || !unary()) return false;
            append(Op::Not);
            return true;
        }
        return primary();
    }

    bool primary() {
        if (take("(")) return conditional() && take(")");
        if (take("n")) {
            append(Op::Count);
            return true;
        }
        if (at_ == text_.size() || text_[at_] < '0' || text_[at_] > '9') return false;
        unsigned long value = 0;
        constexpr unsigned long most = std::numeric_limits<unsigned long>::max();
        for (; at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9'; ++at_) {
            const auto digit = static_cast<unsigned long>(text_[at_] - '0');
            if (value > (most - digit) / 10) return false;
            value = value * 10 + digit;
        }
        append(Op::Number, value);
        return true;
    }

    void skipSpace() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n')) ++at_;
    }

    bool take(std::string_view token) {
        skipSpace();
        if (text_.substr(at_, token.size()) != token) return false;
        at_ += token.size();
        return true;
    }

    void append(Op op, unsigned long number = 0) {
        rule_.steps_.push_back({op, number});
        switch (op) {
            case Op::Count:
            case Op::Number: ++height_; break;
            case Op::Not: break;
            case Op::Choose: height_ -= 2; break;
            default: --height_; break;
        }
        if (height_ > rule_.stack_) rule_.stack_ = height_;
    }

    static constexpr int levels = 6;
    std::string_view text_;
    PluralRule& rule_;
    std::size_t at_ = 0;
    int depth_ = 0;
    std::size_t height_ = 0;
};

std::optional<PluralRule> PluralRule::parse(std::string_view expression) {
    PluralRule rule;
    if (!Parser(expression, rule).whole()) return std::nullopt;
    return rule;
}

unsigned long PluralRule::operator()(unsigned long n) const {
    std::vector<unsigned long> stack;
    stack.reserve(stack_);
    for (const Step& step : steps_) {
        if (step.op == Op::Count || step.op == Op::Number) {
            stack.push_back(step.op == Op::Count ? n : step.number);
            continue;
        }
        if (step.op == Op::Not) {
            stack.back() = stack.back() == 0 ? 1 : 0;
            continue;
        }
        if (step.op == Op::Choose) {
            const unsigned long otherwise = stack.back();
            stack.pop_back();
            const unsigned long then = stack.back();
            stack.pop_back();
            stack.back() = stack.back() != 0 ? then : otherwise;
            continue;
        }
        const unsigned long b = stack.back();
        stack.pop_back();
        unsigned long& a = stack.back();
        switch (step.op) {
            case Op::Mul: a *= b; break;
            case Op::Div: a = b == 0 ? 0 : a / b; break;
            case Op::Mod: a = b == 0 ? 0 : a % b; break;
            case Op::Add: a += b; break;
            case Op::Sub: a -= b; break;
            case Op::Less: a = a < b ? 1 : 0; break;
            case Op::Greater: a = a > b ? 1 : 0; break;
            case Op::LessEq: a = a <= b ? 1 : 0; break;
            case Op::GreaterEq: a = a >= b ? 1 : 0; break;
            case Op::Equal: a = a == b ? 1 : 0; break;
            case Op::NotEqual: a = a != b ? 1 : 0; break;
            case Op::And: a = a != 0 && b != 0 ? 1 : 0; break;
            case Op::Or: a = a != 0 || b != 0 ? 1 : 0; break;
            default: break;
        }
    }
    return stack.empty() ? 0 : stack.back();
}

}  // namespace numerak
