#include "autoedit/normalize_name.h"
#include "platform/repair_settings.h"
#include "support/seam_fixture.h"

#include <gtest/gtest.h>

using autoedit::NormalizeName;

namespace {

struct Case {
    const char* input;
    const char* result;
};

void expectAll(const std::vector<Case>& cases)
{
    for (const auto& c : cases)
        EXPECT_EQ(NormalizeName(c.input, platform::readRepairSettings().naming), c.result)
            << "input: \"" << c.input << '"';
}

}  // namespace

class NormalizeNameTest : public testsupport::SeamTest {
protected:
    void switches(int uml, int amp, int sonder, int space)
    {
        profile().writeInt("CnvUml", uml);
        profile().writeInt("CnvAmp", amp);
        profile().writeInt("CnvSonder", sonder);
        profile().writeInt("CnvSpace", space);
    }
};

TEST_F(NormalizeNameTest, AllRulesOn)
{
    expectAll({
        {"hello world", "Hello_World"},
        {"Simon & Garfunkel", "Simon_n_Garfunkel"},
        {"Simon&Garfunkel", "Simon_n_Garfunkel"},
        {"AC+DC", "AC_n_DC"},
        {"Rock And Roll", "Rock_n_Roll"},
        {"Rock n Roll", "Rock_n_Roll"},
        {"Rock'n'Roll", "Rock_n_Roll"},
        {"Rock 'n' Roll", "Rock__n_Roll"},
        {"Bj\xF6rk", "Bjoerk"},
        {"Stra\xDF"
         "e",
         "Strasse"},
        {"\xC9mile Zola", "Emile_Zola"},
        {"AC/DC", "ACDC"},
        {"R.E.M.", "REM"},
        {"U.S.A. for Africa", "USA_For_Africa"},
        {"Mr. Jones", "Mr_Jones"},
        {"Dr. Dre feat. Eminem", "Dr_Dre_feat_Eminem"},
        {"Sting ft. Cheb Mami", "Sting_feat_Cheb_Mami"},
        {"Ft X", "feat_X"},
        {"ft X", "Ft_X"},
        {"Eminem vs. 2Pac", "Eminem_vs_2Pac"},
        {"Hulk versus Thing", "Hulk_vs_Thing"},
        {"Rocky III", "Rocky_3"},
        {"Part II - The End", "Part_2_The_End"},
        {"IVY", "4Y"},
        {"don't stop", "Dont_Stop"},
        {"Peter, Paul & Mary", "Peter_Paul_n_Mary"},
        {"  leading  and trailing  ", "Leading_n_Trailing"},
        {"Tom & ", "Tom_n"},
        {"\xC6r\xF8sk\xF8"
         "bing",
         "Aer\xF8sk\xF8"
         "bing"},
        {"05", "05"},
        {"", ""},
        {"   ", ""},
        {"McDONALD", "McDONALD"},
    });
}

TEST_F(NormalizeNameTest, SpaceAsSeparator)
{
    switches(1, 1, 1, 0);
    expectAll({{"Rock And Roll", "Rock n Roll"}, {"Rock 'n' Roll", "Rock  n Roll"}, {"a-b", "A B"}});
}

TEST_F(NormalizeNameTest, AllRulesOff)
{
    switches(0, 0, 0, 0);
    expectAll({
        {"Dr. Dre feat. Eminem", "Dr. Dre Feat. Eminem"},
        {"x*y", "X Y"},
        {"Rock n Roll", "Rock N Roll"},
        {"AC/DC", "AC/DC"},
        // Without the accent table, word starts still take the code page's capitals.
        {"\xE9mile \xFF \x9A", "\xC9mile \x9F \x8A"},
        {"Rocky III", "Rocky III"},
    });
}

TEST_F(NormalizeNameTest, MatchesAtTheEndNeverReachPastTheText)
{
    expectAll({
        {".", ""},
        {"a.", "A"},
        {".a", "a"},  // the dot ends the word start without a separator
        {"I", "I"},
        {"II", "2"},
        {"fea", "Fea"},
        {"feat", "Feat"},
        {"ft", "Ft"},
        {"v", "V"},
        {"And", "And"},
        {"n", "N"},
        {"'n", "N"},
        {"&", "n"},
        {"+x", "n_X"},
    });
}
