// plural.hpp: a catalogue's plural rule, the expression of its Plural-Forms header
// ("n%10==1 && n%100!=11 ? 0 : 1"), read as data and worked out for a count. A translation
// chooses a form with it; it never becomes code.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace numerak {

class PluralRule {
public:
    // The rule an expression states by gettext's grammar: n, decimal numbers, parentheses, ! and
    // the operators * / % + - < > <= >= == != && || ?: with C's precedence. Nothing for anything
    // else, for a number past unsigned long, or for nesting deeper than any language needs.
    static std::optional<PluralRule> parse(std::string_view expression);

    // The rule's value for the count n, as gettext works it out: in unsigned long, where a
    // division or remainder by zero is 0.
    unsigned long operator()(unsigned long n) const;

    // How deep a rule may nest (parentheses, !, the branches of ?:).
    static constexpr int deepest = 32;

private:
    enum class Op : unsigned char {
        Count,
        Number,
        Not,
        Mul,
        Div,
        Mod,
        Add,
        Sub,
        Less,
        Greater,
        LessEq,
        GreaterEq,
        Equal,
        NotEqual,
        And,
        Or,
        Choose
    };
    struct Step {
        Op op;
        unsigned long number;
    };
    class Parser;

    std::vector<Step> steps_;  // in postfix order, for a stack
    std::size_t stack_ = 0;    // the most values the stack holds at once
};

}  // namespace numerak
