// The readers of Word, OpenDocument, patent-office XML and web pages, on
// small documents written for these tests.

#include "DocumentReader.h"

#include "TestZip.h"

#include <gtest/gtest.h>

namespace {

std::string Text(const QString& S) {
    return S.toStdString();
}

// ---- Word ----

std::string Docx(const std::string& Body, const std::string& Numbering = {},
                 const std::string& Styles = {}) {
    const std::string ns =
        R"( xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
        R"( xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006")";
    std::vector<TZipMember> members{
        {"[Content_Types].xml", "<Types/>"},
        {"word/document.xml",
         "<?xml version=\"1.0\"?><w:document" + ns + "><w:body>" + Body + "</w:body></w:document>",
         true},
        // Parts that are never claims: their text must not appear.
        {"word/footnotes.xml", "<w:footnotes" + ns +
                                   "><w:footnote><w:p><w:r><w:t>FOOTNOTE</w:t>"
                                   "</w:r></w:p></w:footnote></w:footnotes>"},
        {"word/header1.xml", "<w:hdr" + ns + "><w:p><w:r><w:t>HEADER</w:t></w:r></w:p></w:hdr>"},
    };
    if (!Numbering.empty())
        members.push_back(
            {"word/numbering.xml", "<w:numbering" + ns + ">" + Numbering + "</w:numbering>"});
    if (!Styles.empty())
        members.push_back({"word/styles.xml", "<w:styles" + ns + ">" + Styles + "</w:styles>"});
    return MakeZip(members);
}

std::string P(const std::string& Text) {
    return "<w:p><w:r><w:t xml:space=\"preserve\">" + Text + "</w:t></w:r></w:p>";
}

std::string NumP(int NumId, int Level, const std::string& Text) {
    return "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"" + std::to_string(Level) +
           "\"/><w:numId w:val=\"" + std::to_string(NumId) + "\"/></w:numPr></w:pPr><w:r><w:t>" +
           Text + "</w:t></w:r></w:p>";
}

// List 1 (numbers 1 to 3): "1." then "a)"; list 2 starts at 5. Instance 2 of
// list 1 restarts it, instance 3 continues it.
const std::string Numbering =
    R"(<w:abstractNum w:abstractNumId="1">)"
    R"(<w:lvl w:ilvl="0"><w:start w:val="1"/><w:numFmt w:val="decimal"/><w:lvlText w:val="%1."/></w:lvl>)"
    R"X(<w:lvl w:ilvl="1"><w:start w:val="1"/><w:numFmt w:val="lowerLetter"/><w:lvlText w:val="%2)"/></w:lvl>)X"
    R"(</w:abstractNum>)"
    R"(<w:abstractNum w:abstractNumId="2"><w:lvl w:ilvl="0"><w:start w:val="5"/>)"
    R"(<w:numFmt w:val="decimal"/><w:lvlText w:val="%1."/></w:lvl></w:abstractNum>)"
    R"(<w:num w:numId="1"><w:abstractNumId w:val="1"/></w:num>)"
    R"(<w:num w:numId="2"><w:abstractNumId w:val="1"/>)"
    R"(<w:lvlOverride w:ilvl="0"><w:startOverride w:val="1"/></w:lvlOverride></w:num>)"
    R"(<w:num w:numId="3"><w:abstractNumId w:val="1"/></w:num>)"
    R"(<w:num w:numId="4"><w:abstractNumId w:val="2"/></w:num>)"
    // List 3's levels name the styles that number at them.
    R"(<w:abstractNum w:abstractNumId="3"><w:lvl w:ilvl="0"><w:pStyle w:val="Linked"/>)"
    R"(<w:lvlText w:val="%1."/></w:lvl><w:lvl w:ilvl="1"><w:pStyle w:val="LinkedSub"/>)"
    R"(<w:lvlText w:val="%1.%2"/></w:lvl></w:abstractNum>)"
    R"(<w:num w:numId="5"><w:abstractNumId w:val="3"/></w:num>)";

const std::string ClaimStyles =
    R"(<w:style w:type="paragraph" w:styleId="ClaimBase"><w:pPr><w:numPr><w:numId w:val="1"/>)"
    R"(</w:numPr></w:pPr></w:style>)"
    R"(<w:style w:type="paragraph" w:styleId="Claim"><w:basedOn w:val="ClaimBase"/></w:style>)"
    R"(<w:style w:type="paragraph" w:styleId="Linked"><w:pPr><w:numPr><w:numId w:val="5"/>)"
    R"(</w:numPr></w:pPr></w:style><w:style w:type="paragraph" w:styleId="LinkedSub"/>)";

struct TWordCase {
    const char* What;
    std::string Body;
    std::string Expected;
    std::string Original = {}; // with tracked changes read as the original, when it differs
};

TDocumentRead ReadOriginal(const std::string& Bytes) {
    TReadOptions options;
    options.OriginalText = true;
    return ReadDocument(Bytes, options);
}

void PrintTo(const TWordCase& Case, std::ostream* Out) {
    *Out << Case.What;
}

class WordTest : public testing::TestWithParam<TWordCase> {};

TEST_P(WordTest, ReadsAsAPersonDoes) {
    const std::string bytes = Docx(GetParam().Body, Numbering, ClaimStyles);
    const TDocumentRead read = ReadDocument(bytes);
    ASSERT_EQ(Text(read.Error), "");
    EXPECT_EQ(Text(read.Format), "docx");
    ASSERT_EQ(read.Documents.size(), 1u);
    EXPECT_EQ(Text(read.Documents[0].Text), GetParam().Expected);
    const TDocumentRead original = ReadOriginal(bytes);
    ASSERT_EQ(original.Documents.size(), 1u);
    const std::string& expected =
        GetParam().Original.empty() ? GetParam().Expected : GetParam().Original;
    EXPECT_EQ(Text(original.Documents[0].Text), expected) << "read as the original";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WordTest,
    testing::Values(
        TWordCase{"automatic numbers become claim numbers",
                  P("Claims") + NumP(1, 0, "A pump.") + NumP(1, 0, "The pump of claim 1."),
                  "Claims\n1. A pump.\n2. The pump of claim 1.\n"},
        TWordCase{"a list runs on past other paragraphs; an instance with a start restarts it",
                  NumP(1, 0, "a") + P("x") + NumP(1, 0, "b") + NumP(2, 0, "c") + NumP(3, 0, "d"),
                  "1. a\nx\n2. b\n1. c\n2. d\n"},
        TWordCase{"a deeper level counts under its parent and starts again below the next",
                  NumP(1, 0, "a") + NumP(1, 1, "b") + NumP(1, 1, "c") + NumP(1, 0, "d") +
                      NumP(1, 1, "e"),
                  "1. a\na) b\nb) c\n2. d\na) e\n"},
        TWordCase{"a list starts at its start value", NumP(4, 0, "a") + NumP(4, 0, "b"),
                  "5. a\n6. b\n"},
        TWordCase{
            "a style numbers through its base; numId 0 takes a paragraph out",
            R"(<w:p><w:pPr><w:pStyle w:val="Claim"/></w:pPr><w:r><w:t>A pump.</w:t></w:r></w:p>)"
            R"(<w:p><w:pPr><w:pStyle w:val="Claim"/><w:numPr><w:numId w:val="0"/></w:numPr>)"
            R"(</w:pPr><w:r><w:t>Note.</w:t></w:r></w:p>)"
            R"(<w:p><w:pPr><w:pStyle w:val="Claim"/></w:pPr><w:r><w:t>A valve.</w:t></w:r></w:p>)",
            "1. A pump.\nNote.\n2. A valve.\n"},
        TWordCase{
            "a list level linked to a style numbers that style's paragraphs at its level",
            R"(<w:p><w:pPr><w:pStyle w:val="Linked"/></w:pPr><w:r><w:t>a</w:t></w:r></w:p>)"
            R"(<w:p><w:pPr><w:pStyle w:val="LinkedSub"/></w:pPr><w:r><w:t>b</w:t></w:r></w:p>)"
            R"(<w:p><w:pPr><w:pStyle w:val="Linked"/></w:pPr><w:r><w:t>c</w:t></w:r></w:p>)",
            "1. a\n1.1 b\n2. c\n"},
        TWordCase{
            "tracked changes read as accepted: insertions kept, deletions and moves away dropped",
            R"(<w:p><w:r><w:t xml:space="preserve">The pump of claim </w:t></w:r>)"
            R"(<w:del><w:r><w:delText>2</w:delText></w:r></w:del>)"
            R"(<w:ins><w:r><w:t>1</w:t></w:r></w:ins>)"
            R"(<w:moveFrom><w:r><w:t> old</w:t></w:r></w:moveFrom><w:r><w:t>.</w:t></w:r></w:p>)",
            "The pump of claim 1.\n", "The pump of claim 2 old.\n"},
        TWordCase{"a claim deleted with its paragraph mark leaves no number; one inserted, none "
                  "in the original; numbering added in review is the original's none",
                  NumP(1, 0, "A pump.") +
                      R"(<w:p><w:pPr><w:numPr><w:ilvl w:val="0"/><w:numId w:val="1"/></w:numPr>)"
                      R"(<w:rPr><w:del w:id="1"/></w:rPr></w:pPr><w:del><w:r><w:delText>A valve.)"
                      R"(</w:delText></w:r></w:del></w:p>)"
                      R"(<w:p><w:pPr><w:numPr><w:ilvl w:val="0"/><w:numId w:val="1"/></w:numPr>)"
                      R"(<w:rPr><w:ins w:id="2"/></w:rPr></w:pPr><w:ins><w:r><w:t>A gear.</w:t>)"
                      R"(</w:r></w:ins></w:p>)" +
                      NumP(1, 0, "The pump of claim 1.") +
                      R"(<w:p><w:pPr><w:numPr><w:numId w:val="1"/></w:numPr><w:pPrChange w:id="3">)"
                      R"(<w:pPr/></w:pPrChange></w:pPr><w:r><w:t>Note.</w:t></w:r></w:p>)",
                  "1. A pump.\n2. A gear.\n3. The pump of claim 1.\n4. Note.\n",
                  "1. A pump.\n2. A valve.\n3. The pump of claim 1.\nNote.\n"},
        TWordCase{
            "a claim moved whole is read where it went, or as the original where it was",
            NumP(1, 0, "A pump.") +
                R"(<w:p><w:pPr><w:numPr><w:numId w:val="1"/></w:numPr><w:rPr><w:moveFrom/>)"
                R"(</w:rPr></w:pPr><w:moveFrom><w:r><w:t>A valve.</w:t></w:r></w:moveFrom>)"
                R"(</w:p>)" +
                NumP(1, 0, "The pump of claim 1.") +
                R"(<w:p><w:pPr><w:numPr><w:numId w:val="1"/></w:numPr><w:rPr><w:moveTo/>)"
                R"(</w:rPr></w:pPr><w:moveTo><w:r><w:t>A valve.</w:t></w:r></w:moveTo></w:p>)",
            "1. A pump.\n2. The pump of claim 1.\n3. A valve.\n",
            "1. A pump.\n2. A valve.\n3. The pump of claim 1.\n"},
        TWordCase{
            "a field shows its result, not its instruction",
            R"(<w:p><w:r><w:fldChar w:fldCharType="begin"/></w:r>)"
            R"(<w:r><w:instrText> SEQ Claim </w:instrText></w:r>)"
            R"(<w:r><w:fldChar w:fldCharType="separate"/></w:r><w:r><w:t>3</w:t></w:r>)"
            R"(<w:r><w:fldChar w:fldCharType="end"/></w:r><w:r><w:t>. A valve.</w:t></w:r></w:p>)"
            R"(<w:p><w:fldSimple w:instr=" REF x "><w:r><w:t>claim 3</w:t></w:r></w:fldSimple></w:p>)",
            "3. A valve.\nclaim 3\n"},
        TWordCase{
            "runs join; tabs and soft breaks are text, tab stops are not",
            R"(<w:p><w:pPr><w:tabs><w:tab w:val="left" w:pos="720"/></w:tabs></w:pPr>)"
            R"(<w:r><w:t>A p</w:t></w:r><w:r><w:t>ump</w:t></w:r><w:r><w:tab/><w:t>with</w:t>)"
            R"(<w:br/><w:t>a valve</w:t></w:r></w:p>)",
            "A pump\twith\na valve\n"},
        TWordCase{"a table row is a line of cells",
                  R"(<w:tbl><w:tr><w:tc><w:p><w:r><w:t>1.</w:t></w:r></w:p></w:tc>)"
                  R"(<w:tc><w:p><w:r><w:t>A pump.</w:t></w:r></w:p></w:tc></w:tr></w:tbl>)" +
                      P("After."),
                  "1.\tA pump.\nAfter.\n"},
        TWordCase{"alternate content is read once, text boxes not at all",
                  R"(<w:p><w:r><w:t>A pump</w:t></w:r><w:r><mc:AlternateContent><mc:Choice>)"
                  R"(<w:t>!</w:t></mc:Choice><mc:Fallback><w:t>!</w:t></mc:Fallback>)"
                  R"(</mc:AlternateContent></w:r><w:r><w:txbxContent><w:p><w:r><w:t>BOX</w:t>)"
                  R"(</w:r></w:p></w:txbxContent></w:r></w:p>)",
                  "A pump!\n"}),
    [](const auto& Info) { return "Case" + std::to_string(Info.index); });

// ---- OpenDocument ----

std::string Odt(const std::string& Body,
                const std::string& Mime = "application/vnd.oasis.opendocument.text") {
    const std::string ns =
        R"( xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0")"
        R"( xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0")"
        R"( xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0")"
        R"( xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0")"
        R"( xmlns:dc="http://purl.org/dc/elements/1.1/")"
        R"( xmlns:xml="http://www.w3.org/XML/1998/namespace")";
    const std::string styles =
        R"(<text:list-style style:name="L1">)"
        R"(<text:list-level-style-number text:level="1" style:num-suffix="." style:num-format="1"/>)"
        R"X(<text:list-level-style-number text:level="2" style:num-suffix=")" style:num-format="a"/>)X"
        R"(</text:list-style>)"
        R"(<text:list-style style:name="L2"><text:list-level-style-number text:level="1")"
        R"X( style:num-prefix="(" style:num-suffix=")" style:num-format="1" text:display-levels="1"/>)X"
        R"(<text:list-level-style-number text:level="2" style:num-suffix="." style:num-format="1")"
        R"( text:display-levels="2"/></text:list-style>)"
        R"(<style:style style:name="ClaimP" style:family="paragraph" style:list-style-name="L1"/>)"
        R"(<style:style style:name="ClaimQ" style:family="paragraph" style:parent-style-name="ClaimP"/>)"
        R"(<style:style style:name="Plain" style:family="paragraph" style:parent-style-name="ClaimP")"
        R"( style:list-style-name=""/>)"
        R"(<text:list-style style:name="B"><text:list-level-style-bullet text:level="1"/></text:list-style>)";
    return MakeZip({{"mimetype", Mime},
                    {"content.xml",
                     "<office:document-content" + ns + "><office:automatic-styles>" + styles +
                         "</office:automatic-styles><office:body><office:text>" + Body +
                         "</office:text></office:body></office:document-content>",
                     true}});
}

std::string Item(const std::string& Text) {
    return "<text:list-item><text:p>" + Text + "</text:p></text:list-item>";
}

struct TOdfCase {
    const char* What;
    std::string Body;
    std::string Expected;
    std::string Original = {}; // with tracked changes read as the original, when it differs
};

void PrintTo(const TOdfCase& Case, std::ostream* Out) {
    *Out << Case.What;
}

class OdfTest : public testing::TestWithParam<TOdfCase> {};

TEST_P(OdfTest, ReadsAsAPersonDoes) {
    const std::string bytes = Odt(GetParam().Body);
    const TDocumentRead read = ReadDocument(bytes);
    ASSERT_EQ(Text(read.Error), "");
    EXPECT_EQ(Text(read.Format), "odt");
    ASSERT_EQ(read.Documents.size(), 1u);
    EXPECT_EQ(Text(read.Documents[0].Text), GetParam().Expected);
    const TDocumentRead original = ReadOriginal(bytes);
    ASSERT_EQ(original.Documents.size(), 1u);
    const std::string& expected =
        GetParam().Original.empty() ? GetParam().Expected : GetParam().Original;
    EXPECT_EQ(Text(original.Documents[0].Text), expected) << "read as the original";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OdfTest,
    testing::Values(
        TOdfCase{"list numbers become claim numbers; a new list starts again; bullets show none",
                 "<text:h>Claims</text:h><text:list text:style-name=\"L1\">" + Item("A pump.") +
                     Item("The pump of claim 1.") +
                     "</text:list><text:list text:style-name=\"L1\">" + Item("A valve.") +
                     "</text:list><text:list text:style-name=\"B\">" + Item("dot") + "</text:list>",
                 "Claims\n1. A pump.\n2. The pump of claim 1.\n1. A valve.\ndot\n"},
        TOdfCase{"continued numbering runs on past other paragraphs, by order or by list id",
                 "<text:list xml:id=\"first\" text:style-name=\"L1\">" + Item("a") +
                     "</text:list><text:p>x</text:p><text:list text:style-name=\"L1\" "
                     "text:continue-numbering=\"true\">" +
                     Item("b") + "</text:list><text:list text:style-name=\"L1\">" + Item("c") +
                     "</text:list><text:list text:style-name=\"L1\" text:continue-list=\"first\">" +
                     Item("d") + "</text:list>",
                 "1. a\nx\n2. b\n1. c\n3. d\n"},
        TOdfCase{"an item's start value; nested levels; a header has no number",
                 "<text:list text:style-name=\"L1\"><text:list-header><text:p>Head</text:p>"
                 "</text:list-header><text:list-item text:start-value=\"7\"><text:p>a</text:p>"
                 "<text:list><text:list-item><text:p>b</text:p></text:list-item>" +
                     Item("c") + "</text:list></text:list-item>" + Item("d") + "</text:list>",
                 "Head\n7. a\na) b\nb) c\n8. d\n"},
        TOdfCase{"prefix, suffix and the levels a label shows",
                 "<text:list text:style-name=\"L2\"><text:list-item><text:p>a</text:p><text:list>" +
                     Item("b") + "</text:list></text:list-item></text:list>",
                 "(1) a\n1.1. b\n"},
        TOdfCase{
            "tracked changes read as accepted; comments and notes are not text",
            "<text:tracked-changes><text:changed-region text:id=\"c1\"><text:deletion>"
            "<text:p>OLD</text:p></text:deletion></text:changed-region></text:tracked-changes>"
            "<text:p>The pump of claim <text:change text:change-id=\"c1\"/>1<office:annotation>"
            "<text:p>COMMENT</text:p></office:annotation><text:note><text:note-citation>1"
            "</text:note-citation><text:note-body><text:p>NOTE</text:p></text:note-body>"
            "</text:note>.</text:p>",
            "The pump of claim 1.\n", "The pump of claim OLD1.\n"},
        TOdfCase{
            "an inserted claim and a changed reference, read both ways",
            "<text:tracked-changes><text:changed-region text:id=\"i1\"><text:insertion>"
            "<office:change-info><dc:creator>R</dc:creator></office:change-info></text:insertion>"
            "</text:changed-region><text:changed-region text:id=\"d1\"><text:deletion>"
            "<text:p>2</text:p></text:deletion></text:changed-region>"
            "<text:changed-region text:id=\"i2\"><text:insertion/></text:changed-region>"
            "</text:tracked-changes><text:list text:style-name=\"L1\">" +
                Item("A pump.") +
                Item("<text:change-start text:change-id=\"i1\"/>A gear<text:s/>wheel.") +
                Item("<text:change-end text:change-id=\"i1\"/>The pump of claim "
                     "<text:change text:change-id=\"d1\"/><text:change-start "
                     "text:change-id=\"i2\"/>1<text:change-end text:change-id=\"i2\"/>.") +
                "</text:list>",
            "1. A pump.\n2. A gear wheel.\n3. The pump of claim 1.\n",
            "1. A pump.\n2. The pump of claim 2.\n"},
        TOdfCase{"a paragraph style's list numbers paragraphs outside lists, through parents",
                 "<text:p text:style-name=\"ClaimP\">A pump.</text:p><text:p "
                 "text:style-name=\"Plain\">Note.</text:p><text:p text:style-name=\"ClaimQ\">"
                 "The pump of claim 1.</text:p>",
                 "1. A pump.\nNote.\n2. The pump of claim 1.\n"},
        TOdfCase{"spaces, tabs and line breaks",
                 "<text:p>A<text:s text:c=\"3\"/>pump<text:tab/>with<text:line-break/>a "
                 "<text:span>valve</text:span></text:p>",
                 "A   pump\twith\na valve\n"}),
    [](const auto& Info) { return "Case" + std::to_string(Info.index); });

// ---- Patent-office XML ----

const std::string UsGrant = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE us-patent-grant SYSTEM "us-patent-grant-v45-2014-04-03.dtd" [ ]>
<us-patent-grant lang="EN" dtd-version="v4.5">
<us-bibliographic-data-grant>
<publication-reference><document-id><country>US</country><doc-number>09999001</doc-number>
<kind>B2</kind></document-id></publication-reference>
<application-reference><document-id><country>US</country><doc-number>15000001</doc-number>
</document-id></application-reference>
<invention-title id="t1">Hose reel with brake</invention-title>
</us-bibliographic-data-grant>
<description><p>1. Not a claim: the description&hellip;</p></description>
<claims id="claims">
<claim id="CLM-00001" num="00001"><claim-text>1. A hose reel comprising:
<claim-text>a drum;</claim-text>
<claim-text>a brake &ldquo;pad&rdquo; on the drum.</claim-text></claim-text></claim>
<claim id="CLM-00002" num="00002"><claim-text>2. The hose reel of <claim-ref idref="CLM-00001">claim 1</claim-ref>, wherein the drum is steel.</claim-text></claim>
<claim id="CLM-00003" num="00003"><claim-text>A hose reel of <claim-ref idref="CLM-00001">claim 1</claim-ref> or <claim-ref idref="CLM-00002">2</claim-ref>.</claim-text></claim>
</claims>
</us-patent-grant>
)";

std::string EpDocument(const std::string& RootLang) {
    std::string claims;
    for (const char* lang : {"de", "en", "fr"})
        claims += std::string("<claims id=\"claims-") + lang + "\" lang=\"" + lang +
                  "\">"
                  "<claim id=\"c-" +
                  lang + "-0001\" num=\"0001\"><claim-text>" + lang +
                  " one.</claim-text></claim><claim id=\"c-" + lang +
                  "-0002\" num=\"0002\">"
                  "<claim-text>" +
                  lang + " two, <claim-ref idref=\"c-" + lang +
                  "-0001\">1</claim-ref>.</claim-text></claim></claims>";
    return "<?xml version=\"1.0\"?><ep-patent-document id=\"EP3000001B1\" country=\"EP\" "
           "doc-number=\"3000001\" kind=\"B1\"" +
           RootLang + "><SDOBI/>" + claims + "</ep-patent-document>";
}

const std::string WoDocument = R"(<?xml version="1.0"?>
<wo-patent-document lang="en"><bibliographic-data><publication-reference><document-id>
<country>WO</country><doc-number>2099/000001</doc-number><kind>A1</kind></document-id>
</publication-reference></bibliographic-data>
<claims lang="en"><claim num="1"><claim-text>A lamp.</claim-text></claim>
<claim num="2"><claim-text>The lamp of claim 1.</claim-text></claim></claims></wo-patent-document>)";

const std::string St96Document = R"(<?xml version="1.0"?>
<pat:PatentPublication xmlns:pat="http://www.wipo.int/standards/XMLSchema/ST96/Patent"
 xmlns:com="http://www.wipo.int/standards/XMLSchema/ST96/Common">
<pat:Claims com:languageCode="en">
<pat:Claim id="CLM-1"><pat:ClaimNumber>1</pat:ClaimNumber><pat:ClaimText>A gear.</pat:ClaimText></pat:Claim>
<pat:Claim id="CLM-2"><pat:ClaimNumber>2</pat:ClaimNumber><pat:ClaimText>The gear of
<pat:ClaimReference idrefs="CLM-1">claim 1</pat:ClaimReference>.</pat:ClaimText></pat:Claim>
</pat:Claims></pat:PatentPublication>)";

struct TXmlCase {
    const char* What;
    std::string Bytes;
    QString Language;
    std::string Format;
    std::string Number;
    std::string Expected;
    std::vector<TClaimLink> Links;
};

void PrintTo(const TXmlCase& Case, std::ostream* Out) {
    *Out << Case.What;
}

class PatentXmlTest : public testing::TestWithParam<TXmlCase> {};

TEST_P(PatentXmlTest, ReadsTheClaimsAndTheirLinks) {
    const TXmlCase& c = GetParam();
    const TDocumentRead read = ReadDocument(c.Bytes, c.Language);
    ASSERT_EQ(Text(read.Error), "");
    EXPECT_EQ(Text(read.Format), c.Format);
    ASSERT_EQ(read.Documents.size(), 1u);
    EXPECT_EQ(Text(read.Documents[0].Number), c.Number);
    EXPECT_EQ(Text(read.Documents[0].Text), c.Expected);
    EXPECT_EQ(read.Documents[0].Links, c.Links);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PatentXmlTest,
    testing::Values(
        TXmlCase{
            "USPTO grant: nested claim texts on lines of their own, the description left out",
            UsGrant,
            {},
            "uspto-xml",
            "US09999001B2",
            "Hose reel with brake\n\nClaims\n\n1. A hose reel comprising:\na drum;\n"
            "a brake \u201Cpad\u201D on the drum.\n2. The hose reel of claim 1, wherein the drum "
            "is steel.\n3. A hose reel of claim 1 or 2.\n",
            {{2, 1}, {3, 1}, {3, 2}}},
        TXmlCase{"EPO: the language of the proceedings",
                 EpDocument(" lang=\"fr\""),
                 {},
                 "epo-xml",
                 "EP3000001B1",
                 "Claims:\n\n1. fr one.\n2. fr two, 1.\n",
                 {{2, 1}}},
        TXmlCase{"EPO: English when none is marked",
                 EpDocument(""),
                 {},
                 "epo-xml",
                 "EP3000001B1",
                 "Claims:\n\n1. en one.\n2. en two, 1.\n",
                 {{2, 1}}},
        TXmlCase{"EPO: the language asked for",
                 EpDocument(" lang=\"fr\""),
                 QStringLiteral("de"),
                 "epo-xml",
                 "EP3000001B1",
                 "Claims:\n\n1. de one.\n2. de two, 1.\n",
                 {{2, 1}}},
        TXmlCase{"WIPO ST.36",
                 WoDocument,
                 {},
                 "st36-xml",
                 "WO2099/000001A1",
                 "Claims:\n\n1. A lamp.\n2. The lamp of claim 1.\n",
                 {}},
        TXmlCase{"ST.96",
                 St96Document,
                 {},
                 "st96-xml",
                 "",
                 "Claims:\n\n1. A gear.\n2. The gear of claim 1.\n",
                 {{2, 1}}}),
    [](const auto& Info) { return "Case" + std::to_string(Info.index); });

TEST(PatentXml, AWeeklyFileGivesEveryDocumentInOrder) {
    // Declarations in a comment or CDATA, and other instructions, start none.
    const std::string quoted =
        R"(<?xml version="1.0"?><?xml-stylesheet href="s.xsl"?><!-- <?xml version="1.0"?> -->)" +
        WoDocument.substr(WoDocument.find("<wo-"));
    const std::string cdata = "<abstract><![CDATA[<?xml version=\"1.0\"?>]]></abstract><claims";
    const TDocumentRead one =
        ReadDocument(std::string(quoted).replace(quoted.find("<claims"), 7, cdata));
    ASSERT_EQ(Text(one.Error), "");
    EXPECT_EQ(one.Documents.size(), 1u);

    std::string second = UsGrant;
    second.replace(second.find("09999001"), 8, "09999002");
    const TDocumentRead read = ReadDocument(UsGrant + second + WoDocument);
    ASSERT_EQ(Text(read.Error), "");
    ASSERT_EQ(read.Documents.size(), 3u);
    EXPECT_EQ(Text(read.Documents[0].Number), "US09999001B2");
    EXPECT_EQ(Text(read.Documents[1].Number), "US09999002B2");
    EXPECT_EQ(Text(read.Documents[2].Number), "WO2099/000001A1");
    EXPECT_EQ(Text(read.Documents[2].Text), "Claims:\n\n1. A lamp.\n2. The lamp of claim 1.\n");
}

TEST(PatentXml, ALanguageTheDocumentLacksIsNamed) {
    const TDocumentRead read = ReadDocument(EpDocument(""), QStringLiteral("it"));
    EXPECT_EQ(Text(read.Error), "has no claims in language it (it has de, en, fr)");
    // Of a weekly file, the others are read; the one lacking it in its own.
    const TDocumentRead weekly = ReadDocument(EpDocument("") + UsGrant, QStringLiteral("de"));
    ASSERT_EQ(Text(weekly.Error), "");
    ASSERT_EQ(weekly.Documents.size(), 2u);
    EXPECT_EQ(Text(weekly.Documents[0].Language), "de");
    EXPECT_EQ(Text(weekly.Documents[0].Note), "");
    EXPECT_EQ(Text(weekly.Documents[1].Note), "has no claims in language de (it has unmarked)");
    EXPECT_NE(Text(weekly.Documents[1].Text).find("1. A hose reel"), std::string::npos);
}

// ---- Web pages ----

struct THtmlCase {
    const char* What;
    std::string Page;
    std::string Expected;
    std::vector<TClaimLink> Links;
};

void PrintTo(const THtmlCase& Case, std::ostream* Out) {
    *Out << Case.What;
}

class HtmlTest : public testing::TestWithParam<THtmlCase> {};

TEST_P(HtmlTest, ReadsTheClaims) {
    const TDocumentRead read = ReadDocument(GetParam().Page);
    ASSERT_EQ(Text(read.Error), "");
    EXPECT_EQ(Text(read.Format), "html");
    ASSERT_EQ(read.Documents.size(), 1u);
    EXPECT_EQ(Text(read.Documents[0].Text), GetParam().Expected);
    EXPECT_EQ(read.Documents[0].Links, GetParam().Links);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlTest,
    testing::Values(
        THtmlCase{"a saved search page: the claims section alone",
                  R"(<!DOCTYPE html><html><head><title>US9999001B2 - Hose reel</title>
<script>var claims = "1. fake";</script><style>.claim{}</style></head><body>
<nav><a href="/">1. Home</a></nav>
<section itemprop="description"><p>1. The description, not a claim.</p></section>
<section itemprop="claims"><h2>Claims (2)</h2>
<div id="CLM-00001" num="00001" class="claim"><div class="claim-text">1. A hose reel
 comprising:<div class="claim-text">a drum &amp; a brake;</div></div></div>
<div class="claim-dependent"><div id="CLM-00002" num="00002" class="claim">
<div class="claim-text">2. The reel of <claim-ref idref="CLM-00001">claim 1</claim-ref>.</div></div></div>
</section><footer>3. Not a claim</footer></body></html>)",
                  "US9999001B2 - Hose reel\n\nClaims\n\n1. A hose reel comprising:\na drum & a "
                  "brake;\n2. The reel of claim 1.\n",
                  {{2, 1}}},
        THtmlCase{"no claim markup: the page as text, ordered lists numbered",
                  "<html><body><nav>Menu</nav><h2>Claims</h2><ol><li>A pump.</li><li "
                  "value=\"5\">The pump of claim 1.</li></ol><script>x()</script></body></html>",
                  "Claims\n1. A pump.\n5. The pump of claim 1.\n",
                  {}},
        THtmlCase{"claims in a table: a number cell numbers its row",
                  "<html><body><p>Claims:</p><table><tr><td>1</td><td>A pump.</td></tr>"
                  "<tr><td>2.</td><td>The pump of <b>claim</b> 1.</td></tr></table></body></html>",
                  "Claims:\n1. A pump.\n2. The pump of claim 1.\n",
                  {}},
        THtmlCase{
            "Windows-1252 bytes and character references",
            "<html><body><p>Claims:</p><p>1. A caf\xE9 &#8211; &#x263A; &nbsp;x.</p></body></html>",
            "Claims:\n1. A caf\u00E9 \u2013 \u263A \u00A0x.\n",
            {}}),
    [](const auto& Info) { return "Case" + std::to_string(Info.index); });

// ---- Files that are damaged, hostile or not documents ----

std::string Nested(int Depth) {
    std::string xml = "<?xml version=\"1.0\"?><us-patent-grant>";
    for (int i = 0; i < Depth; ++i)
        xml += "<b>";
    for (int i = 0; i < Depth; ++i)
        xml += "</b>";
    return xml + "</us-patent-grant>";
}

struct TBadCase {
    const char* What;
    std::string Bytes;
    std::string Error; // what the message must say
};

void PrintTo(const TBadCase& Case, std::ostream* Out) {
    *Out << Case.What;
}

class BadFileTest : public testing::TestWithParam<TBadCase> {};

TEST_P(BadFileTest, IsRefusedWithAMessage) {
    const TDocumentRead read = ReadDocument(GetParam().Bytes);
    EXPECT_NE(Text(read.Error).find(GetParam().Error), std::string::npos) << Text(read.Error);
    EXPECT_TRUE(read.Documents.empty());
    EXPECT_TRUE(read.Format.isEmpty());
}

const std::string Laughs = R"(<?xml version="1.0"?><!DOCTYPE us-patent-grant [
<!ENTITY a "hahahahahahahahahahahahahahahahahahahahahahahahahahaha">
<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
<!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">]>
<us-patent-grant><claims><claim num="1"><claim-text>&c;</claim-text></claim></claims></us-patent-grant>)";

INSTANTIATE_TEST_SUITE_P(
    Cases, BadFileTest,
    testing::Values(
        TBadCase{"empty", "", "is empty"},
        TBadCase{"a zip cut short", Docx(P("A pump.")).substr(0, 60), "damaged or truncated"},
        TBadCase{"an encrypted member",
                 MakeZip({{"word/document.xml", "<w:document/>", false, true}}), "is encrypted"},
        TBadCase{"a password-protected Word file (a compound file)",
                 std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0", 11),
                 "encrypted Word document"},
        TBadCase{"a member stating more than any document unpacks",
                 // Stored, at a ratio a document has: the total alone refuses it.
                 MakeZip({{"word/document.xml", std::string(700 << 10, 'a'), false, false,
                           int64_t{300} << 20}}),
                 "unpacks to more"},
        TBadCase{"a member that expands a thousand times",
                 MakeZip({{"word/document.xml", std::string(4 << 20, ' '), true}}),
                 "unpacks to more"},
        TBadCase{"a member longer than it states",
                 MakeZip({{"word/document.xml", std::string(5000, 'a'), true, false, 100}}),
                 "damaged or truncated"},
        TBadCase{"a zip of something else", MakeZip({{"a.txt", "hello"}}), "holds no Word"},
        TBadCase{"an OpenDocument spreadsheet",
                 MakeZip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                          {"content.xml", "<x/>"}}),
                 "not a text"},
        TBadCase{"a Word file whose body is cut short",
                 MakeZip({{"word/document.xml",
                           "<?xml version=\"1.0\"?><w:document xmlns:w=\"w\"><w:body><w:p>"}}),
                 "is truncated"},
        TBadCase{"entity expansion", Laughs, "declares XML entities"},
        TBadCase{"an external entity",
                 "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
                 "<us-patent-grant>&e;</us-patent-grant>",
                 "declares XML entities"},
        TBadCase{"nesting past the bound", Nested(MaxNestingDepth + 1), "nests its XML deeper"},
        TBadCase{"XML cut short", UsGrant.substr(0, UsGrant.size() / 2), "is truncated"},
        TBadCase{"XML of something else",
                 "<?xml version=\"1.0\"?><invoice><total>3</total></invoice>",
                 "no patent document"}),
    [](const auto& Info) { return "Case" + std::to_string(Info.index); });

TEST(BadFile, NestingWithinTheBoundIsRead) {
    EXPECT_EQ(Text(ReadDocument(Nested(MaxNestingDepth - 1)).Error), "");
}

// A file is known by what it holds, whatever its name would say; a text that
// merely starts with "<" stays a text.
TEST(DocumentFormat, IsKnownByContent) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {Docx(P("x")), "docx"},
        {Odt("<text:p>x</text:p>"), "odt"},
        {UsGrant, "xml"},
        {"\xEF\xBB\xBF  <!DOCTYPE html><p>x", "html"},
        {"<1> A pump.\n<2> The pump of <1>.\n", "text"},
        {"Claims:\n1. A pump.\n", "text"},
    };
    for (const auto& [bytes, format] : cases)
        EXPECT_EQ(Text(DetectDocumentFormat(bytes)), format) << bytes.substr(0, 20);
    EXPECT_EQ(Text(ReadDocument("<Claims> 1. A pump.\n").Format), "text");
}

} // namespace
