#include "common/rtftext.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

struct RtfCase {
    const char* rtf;
    const char16_t* text;
};

// What a word processor's skier list turns into: each case is a way a
// reader goes wrong (tables shown as names, escapes taken literally, the
// blank that ends a control word kept, fallback characters doubled).
const RtfCase rtfCases[] = {
    {R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\colortbl;\red0\green0\blue0;}\f0\fs20 Smith, Ann\par Cy\par})",
     u"Smith, Ann\nCy\n"},
    {R"({\rtf1{\*\generator Writer}{\info{\title Skiers}}M\'fcller\par})", u"M\u00fcller\n"},
    {R"({\rtf1 \'80 \'e9})", u"\u20ac \u00e9"},
    {R"({\rtf1\uc1 Bj\u246?rn \u-3913?x})", u"Bj\u00f6rn \uf0b7x"},
    {R"({\rtf1\uc2 \u1041\'c1\'c1b})", u"\u0411b"},
    {R"({\rtf1 a\{b\}c\\d\~e\tab f\line g})", u"a{b}c\\d e\tf\ng"},
    {"{\\rtf1 one\r\ntwo\\\r\nthree}", u"onetwo\nthree"},
    {R"({\rtf1{\b bold} {\i\fs28 big} text{\pict\pngblip 89504e47}})", u"bold big text"},
    {R"({\rtf1 x\bin3 {}}y})", u"xy"},
};

TEST(RtfText, TextAsAWordProcessorShowsIt)
{
    for (const RtfCase& c : rtfCases) {
        const auto text = RtfToText(QByteArray(c.rtf));
        ASSERT_TRUE(text) << c.rtf << ": " << text.error().toStdString();
        EXPECT_EQ(*text, QString::fromUtf16(c.text)) << c.rtf;
    }
}

TEST(RtfText, RefusesWhatIsNotAWholeDocument)
{
    for (const char* bad : {"Smith, Ann", "{\\rtf1 Ann\\par", "{\\rtf1 Ann}}", ""}) {
        EXPECT_FALSE(RtfToText(QByteArray(bad))) << bad;
    }
    EXPECT_TRUE(LooksLikeRtf(" \r\n{\\rtf1 x}"));
    EXPECT_FALSE(LooksLikeRtf("rtf1 x"));
}

} // namespace
