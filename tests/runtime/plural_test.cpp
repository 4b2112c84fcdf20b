// A catalogue's plural rule is read as gettext reads it and worked out as gettext does; anything
// else in its place is refused, never run.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "runtime/plural.hpp"

namespace numerak {
namespace {

unsigned long at(std::string_view rule, unsigned long n) {
    const auto parsed = PluralRule::parse(rule);
    EXPECT_TRUE(parsed) << rule;
    return parsed ? (*parsed)(n) : 99;
}

TEST(PluralRule, readsTheRulesLanguagesWriteWithCsPrecedence) {
    constexpr std::string_view slavic =
        "(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2)";
    const std::pair<unsigned long, unsigned long> forms[] = {{1, 0},  {21, 0}, {11, 2}, {3, 1},
                                                             {22, 1}, {12, 2}, {5, 2}};
    for (auto [n, form] : forms) EXPECT_EQ(at(slavic, n), form) << n;
    EXPECT_EQ(at("n>1", 0), 0u);
    EXPECT_EQ(at("0", 7), 0u);
    EXPECT_EQ(at("1 + 2 * 3 - 4 / 2", 0), 5u);        // * and / before + and -, left to right
    EXPECT_EQ(at("n==1 ? 0 : n==2 ? 1 : 2", 2), 1u);  // ?: to the right
    EXPECT_EQ(at("!n + !!n", 0), 1u);
    EXPECT_EQ(at("\tn !=\n1 ", 1), 0u);
}

TEST(PluralRule, worksInUnsignedLongAndDividesByZeroToNought) {
    constexpr unsigned long most = std::numeric_limits<unsigned long>::max();
    EXPECT_EQ(at("n - 1", 0), most);
    EXPECT_EQ(at("n * 2 + 2", most), 0u);
    EXPECT_EQ(at("n / 0 + n % (n - n)", 5), 0u);
    EXPECT_EQ(at(std::to_string(most), 0), most);
}

TEST(PluralRule, refusesWhatIsNotARule) {
    const std::string deep(PluralRule::deepest, '(');
    for (const std::string& hostile :
         {std::string("(n != 1) + [] { return std::system(\"echo x\"); }()"), std::string("n; exit(1)"),
          std::string(""), std::string("n +"), std::string("n ? 1"), std::string("(n"), std::string("n)"),
          std::string("n n"), std::string("-n"), std::string("n = 1"), std::string("n & 1"), std::string("N"),
          std::string("0x10"), std::string("18446744073709551616000"),
          deep + "n" + std::string(PluralRule::deepest, ')'), std::string(PluralRule::deepest + 1, '!') + "n",
          std::string("n\0", 2)})
        EXPECT_FALSE(PluralRule::parse(hostile)) << hostile;
    const std::string deepest(PluralRule::deepest - 1, '(');
    EXPECT_TRUE(PluralRule::parse(deepest + "n" + std::string(PluralRule::deepest - 1, ')')));
    std::string longChain = "n";
    for (int i = 0; i < 50000; ++i) longChain += "+n";  // long, but not deep
    EXPECT_EQ(at(longChain, 2), 100002u);
}

}  // namespace
}  // namespace numerak
