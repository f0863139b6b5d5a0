// Chinese, Japanese and Korean claims, and full-width digits and punctuation,
// in the lenient reading.

#include "ClaimTree.h"
#include "LenientReferences.h"
#include "ReadingText.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>

namespace {

// "1: 2:1 3:1,2": each claim and the claims it refers to.
std::string Reading(const std::string& Text) {
    return ReadingText(TClaimTree(Text, TReading::Lenient));
}

struct TCase {
    const char* Name;
    std::string Text;
    std::string Expected;
};

TEST(LenientCjk, FindsClaimsAsTheseLanguagesNumberThem) {
    const std::vector<TCase> cases = {
        {"Chinese, ideographic comma",
         "权利要求书\n1、一种茶壶，包括壶身。\n2、根据权利要求1所述的茶壶，还包括壶盖。\n",
         "1: 2:1"},
        {"Chinese, full-width period",
         "1．一种茶壶，包括壶身。\n2．根据权利要求1所述的茶壶。\n3．根据权利要求2所述的茶壶。\n",
         "1: 2:1 3:2"},
        {"Chinese, claim 1 on a chemical name",
         "权利要求书\n1.2,4-二氨基苯酚在染发剂中的用途。\n2.根据权利要求1所述的用途，其中含量为1-"
         "5重量份。\n",
         "1: 2:1"},
        {"Chinese, a wrapped line opens with the claim word",
         "1.一种茶壶。\n2.根据\n权利要求1所述的茶壶。\n3.根据\n权利要求2所述的茶壶。\n",
         "1: 2:1 3:2"},
        {"Chinese, decimal at a line start is no claim",
         "1.一种茶壶。\n2.根据权利要求1所述的茶壶，其容量为\n1.5升。\n", "1: 2:1"},
        {"Japanese, bracketed headings with full-width digits",
         "【特許請求の範囲】\n【請求項１】\n　ケトル本体を備えるケトル。\n【請求項２】\n"
         "　請求項１に記載のケトル。\n",
         "1: 2:1"},
        {"Japanese, description paragraphs before the claims",
         "【０００１】\n本発明はケトルに関する。\n［１］\nケトル本体を備えるケトル。\n［２］\n"
         "［１］に記載のケトル。\n【書類名】特許請求の範囲\n【請求項１】ケトル本体を備えるケトル。"
         "\n"
         "【請求項２】請求項１に記載のケトル。\n【書類名】要約書\n【要約】\n【請求項３】ではない。"
         "\n",
         "1: 2:1"},
        {"Japanese, full-width numbers with a period",
         "１．ケトル本体を備えるケトル。\n２．請求項１に記載のケトル。\n", "1: 2:1"},
        {"Korean, bracketed headings",
         "【청구항 1】\n몸체를 포함하는 도어락.\n【청구항 2】\n제1항에 있어서, 모터를 더 포함하는 "
         "도어락.\n",
         "1: 2:1"},
        {"Korean, headings alone on their lines",
         "청구범위\n청구항 1\n몸체를 포함하는 도어락.\n청구항 2\n청구항 1에 있어서, 모터를 "
         "포함하는 "
         "도어락.\n",
         "1: 2:1"},
        {"Korean, a wrapped line opens with the claim word",
         "청구항 1\n몸체를 포함하는 도어락.\n청구항 2\n상기 도어락은\n청구항 1에 있어서 모터를 "
         "포함한다.\n",
         "1: 2:1"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Reading(c.Text), c.Expected) << c.Name << "\n" << c.Text;
}

// Files as Chinese, Japanese and Korean systems write them, decoded as the
// command line and the window decode them.
TEST(LenientCjk, ReadsFilesInTheirEncodings) {
    using namespace std::string_literals;
    const std::vector<TCase> cases = {
        {"GB18030",
         "\xc8\xa8\xc0\xfb\xd2\xaa\xc7\xf3\xca\xe9\x0a\x31\xa1\xa2\xd2\xbb\xd6\xd6\xb2\xe8"
         "\xba\xf8\xa1\xa3\x0a\x32\xa1\xa2\xb8\xf9\xbe\xdd\xc8\xa8\xc0\xfb\xd2\xaa\xc7\xf3"
         "\x31\xcb\xf9\xca\xf6\xb5\xc4\xb2\xe8\xba\xf8\xa1\xa3\x0a",
         "1: 2:1"},
        {"Shift_JIS",
         "\x81\x79\x90\xbf\x8b\x81\x8d\x80\x82\x50\x81\x7a\x83\x50\x83\x67\x83\x8b\x81\x42"
         "\x0a\x81\x79\x90\xbf\x8b\x81\x8d\x80\x82\x51\x81\x7a\x90\xbf\x8b\x81\x8d\x80\x82"
         "\x50\x82\xc9\x8b\x4c\x8d\xda\x82\xcc\x83\x50\x83\x67\x83\x8b\x81\x42\x0a",
         "1: 2:1"},
        {"EUC-KR",
         "\xa1\xbc\xc3\xbb\xb1\xb8\xc7\xd7\x20\x31\xa1\xbd\xb5\xb5\xbe\xee\xb6\xf4\x2e\x0a"
         "\xa1\xbc\xc3\xbb\xb1\xb8\xc7\xd7\x20\x32\xa1\xbd\xc1\xa6\x31\xc7\xd7\xbf\xa1\x20"
         "\xc0\xd6\xbe\xee\xbc\xad\x2c\x20\xb5\xb5\xbe\xee\xb6\xf4\x2e\x0a",
         "1: 2:1"},
        {"UTF-16 little endian",
         "\xff\xfe" + Utf8ToUtf16("1、一种茶壶。\n2、根据权利要求1所述的茶壶。\n", false),
         "1: 2:1"},
        {"UTF-16 big endian",
         "\xfe\xff" +
             Utf8ToUtf16("【請求項１】ケトル。\n【請求項２】請求項１に記載のケトル。\n", true),
         "1: 2:1"},
    };
    for (const TCase& c : cases) {
        std::string text = c.Text;
        DecodeForAnalysis(text);
        EXPECT_EQ(Reading(text), c.Expected) << c.Name;
    }
}

struct TReferenceCase {
    const char* Text;
    int32_t Number;
    const char* Expected; // the references as a dependency text
};

TEST(LenientCjk, ReadsReferences) {
    const std::vector<TReferenceCase> cases = {
        // Chinese
        {"根据权利要求1所述的茶壶", 3, "1"},
        {"如权利要求1-3中任一项所述的茶壶", 4, "1-3"},
        {"如权利要求1～3中任一项所述的茶壶", 4, "1-3"},
        {"根据权利要求1或2所述的茶壶", 3, "1, 2"},
        {"根据权利要求1至5中任一项所述的茶壶", 6, "1-5"},
        {"根据权利要求1、2或4所述的茶壶", 5, "1, 2, 4"},
        {"根据前述权利要求中任一项所述的茶壶", 4, "1-3"},
        {"根据前述任一项权利要求所述的茶壶", 3, "1, 2"},
        {"根据权利\n要求2所述的茶壶", 3, "2"},
        {"根据权利要求２所述的茶壶", 3, "2"},
        {"根据权利要求第2项所述的茶壶", 3, "2"},
        {"根据权利要求2或权利要求3所述的茶壶", 4, "2, 3"},
        {"根據權利要求1所述的茶壺", 2, "1"},
        // Japanese
        {"請求項１に記載のケトル", 2, "1"},
        {"請求項１又は２に記載のケトル", 3, "1, 2"},
        {"請求項１～３のいずれか一項に記載のケトル", 4, "1-3"},
        {"請求項１〜３のいずれか一項に記載のケトル", 4, "1-3"},
        {"請求項1から3のいずれか1項に記載のケトル", 4, "1-3"},
        {"請求項１～請求項３のいずれかに記載のケトル", 5, "1-3"},
        {"請求項１、２又は４に記載のケトル", 5, "1, 2, 4"},
        {"請求項１ないし３のいずれかに記載のケトル", 4, "1-3"},
        // Korean
        {"제1항에 있어서, 상기 몸체는", 2, "1"},
        {"제1항 또는 제2항에 있어서", 3, "1, 2"},
        {"제1항 내지 제3항 중 어느 한 항에 있어서", 4, "1-3"},
        {"제 2 항에 있어서", 3, "2"},
        {"청구항 1 또는 2에 있어서", 3, "1, 2"},
        {"청구항 1 내지 3 중 어느 하나에 있어서", 4, "1-3"},
        {"선행하는 청구항 중 어느 한 항에 있어서", 3, "1, 2"},
        // Full-width forms among Latin words
        {"The kettle of claim １.", 2, "1"},
        {"The kettle of any of claims １～３.", 4, "1-3"},
        {"The kettle of ｃｌａｉｍ 2.", 3, "2"},
    };
    for (const TReferenceCase& c : cases)
        EXPECT_EQ(ReadLenientReferences(c.Text, c.Number).References.DependencyText, c.Expected)
            << c.Text;
}

// Numbers in a claim's own text that a careless reading takes for claims.
TEST(LenientCjk, MeasuresAndOrdinalsAreNoReferences) {
    const std::vector<TReferenceCase> cases = {
        {"根据权利要求1所述的茶壶，其中壁厚为5至10mm", 2, "1"},
        {"一种茶壶，包含1-5重量份的茶叶", 2, ""},
        {"根据权利要求1，2个把手", 3, "1"},
        {"根据权利要求1，2mm厚的壶壁", 3, "1"},
        {"根据权利要求2，其中3至5个孔", 4, "2"},
        // After a comma only an earlier claim: seal no. 3 in claim 3.
        {"根据权利要求2，3号密封圈位于壶盖内", 3, "2"},
        {"根据权利要求1.5倍的容积", 3, ""},
        {"长度为１～３ｍｍ的壶嘴", 2, ""},
        {"請求項１に記載のケトルであって、１０～１２ｍｍの鋼線", 2, "1"},
        {"제1 부재와 제2 부재를 포함하는 도어락", 3, ""},
        {"제1항에 있어서, 3 내지 5 mm 돌출되는", 2, "1"},
        // "权利要求" with neither a number nor a word for earlier claims.
        {"一种要求保护的权利要求书格式", 3, ""},
    };
    for (const TReferenceCase& c : cases)
        EXPECT_EQ(ReadLenientReferences(c.Text, c.Number).References.DependencyText, c.Expected)
            << c.Text;
}

} // namespace
