#include "ClaimExport.h"

#include "BuiltinExamples.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <utility>

namespace {

using TRecords = std::vector<std::vector<std::string>>;

// An RFC 4180 reader, strict about what the writer promises: records end in
// CR LF, a quote inside a quoted field is doubled, and nothing follows a
// closing quote but a comma or the record's end.
TRecords ParseCsv(const std::string& Csv) {
    TRecords records(1, std::vector<std::string>(1));
    std::size_t i = 0;
    while (i < Csv.size()) {
        std::string& field = records.back().back();
        if (Csv[i] == '"') {
            for (++i;; ++i) {
                if (i >= Csv.size())
                    throw std::runtime_error("unclosed quote");
                if (Csv[i] == '"' && i + 1 < Csv.size() && Csv[i + 1] == '"')
                    field += Csv[i++];
                else if (Csv[i] == '"')
                    break;
                else
                    field += Csv[i];
            }
            ++i;
        }
        if (i >= Csv.size())
            break;
        if (Csv.compare(i, 2, "\r\n") == 0) {
            i += 2;
            if (i < Csv.size())
                records.emplace_back(1);
        } else if (Csv[i] == ',') {
            ++i;
            records.back().emplace_back();
        } else if (Csv[i] == '"' || Csv[i] == '\r' || Csv[i] == '\n') {
            throw std::runtime_error("unquoted special character at " + std::to_string(i));
        } else {
            field += Csv[i++];
        }
    }
    return records;
}

std::string Example4() {
    return BuiltinExampleText(4);
}

TEST(ClaimExport, ClaimsCsvReadsBackFieldForField) {
    const std::string text = Example4();
    ASSERT_FALSE(IsValidUtf8(text)) << "the example is meant to be Windows-1252";
    const TClaimTree tree(text);
    const std::string csv = ClaimsCsv(tree, false);
    EXPECT_TRUE(IsValidUtf8(csv));
    const TRecords records = ParseCsv(csv);
    ASSERT_EQ(records.size(), tree.Claims.size() + 1);
    EXPECT_EQ(records[0], (std::vector<std::string>{"number", "kind", "references",
                                                    "dependency text", "text"}));
    for (std::size_t i = 0; i < tree.Claims.size(); ++i) {
        const TClaim& claim = tree.Claims[i];
        const std::vector<std::string>& row = records[i + 1];
        ASSERT_EQ(row.size(), 5U) << "claim " << claim.Number;
        EXPECT_EQ(row[0], std::to_string(claim.Number));
        EXPECT_EQ(row[3], claim.DependencyText);
        EXPECT_EQ(row[4], Windows1252ToUtf8(claim.Text));
    }
    EXPECT_EQ(records[1][1], "independent");
    EXPECT_EQ(records[4][1], "multiple dependent");
    EXPECT_EQ(records[4][2], "1, 2, 3");
    // The Windows-1252 byte 0xBA of "25 \xba C", converted.
    EXPECT_NE(records[1][4].find("25 \xc2\xba"
                                 "C"),
              std::string::npos);
}

TEST(ClaimExport, CsvFieldsQuoteOnlyWhatNeedsIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain text", "plain text"},       {"a, b", "\"a, b\""},
        {"say \"x\"", "\"say \"\"x\"\"\""}, {"two\r\nlines", "\"two\r\nlines\""},
        {"lone\rCR", "\"lone\rCR\""},       {"", ""},
    };
    for (const auto& [field, written] : cases) {
        EXPECT_EQ(CsvField(field), written);
        EXPECT_EQ(ParseCsv(written + "\r\n"), TRecords{{field}});
    }
}

// Direct and indirect dependencies on example 4: row claim, column claim, mark.
TEST(ClaimExport, MatrixMarksDirectAndIndirectDependencies) {
    const TClaimTree tree(Example4());
    const TRecords matrix = ParseCsv(DependencyMatrixCsv(tree));
    const std::size_t n = tree.Claims.size();
    ASSERT_EQ(matrix.size(), n + 1);
    for (const auto& row : matrix)
        ASSERT_EQ(row.size(), n + 1);
    const struct {
        int Row, Column;
        const char* Mark;
    } cells[] = {
        {1, 1, ""},  {1, 2, ""},  {2, 1, "D"}, {3, 2, "D"}, {3, 1, "I"},
        {4, 3, "D"}, {4, 1, "D"}, {9, 8, "D"}, {9, 1, "I"}, {10, 9, ""},
    };
    for (const auto& cell : cells) {
        EXPECT_EQ(matrix[0][cell.Column], std::to_string(cell.Column));
        EXPECT_EQ(matrix[cell.Row][0], std::to_string(cell.Row));
        EXPECT_EQ(matrix[cell.Row][cell.Column], cell.Mark)
            << "row " << cell.Row << ", column " << cell.Column;
    }
}

std::set<std::pair<std::string, std::string>> DotEdges(const std::string& Dot) {
    std::set<std::pair<std::string, std::string>> edges;
    const std::regex edge(R"re("([^"]+)" -> "([^"]+)";)re");
    for (std::sregex_iterator it(Dot.begin(), Dot.end(), edge), end; it != end; ++it)
        edges.emplace((*it)[1], (*it)[2]);
    return edges;
}

TEST(ClaimExport, DotHasAnEdgeForEveryDirectMarkAndRanksIndependentClaimsFirst) {
    const TClaimTree tree(Example4());
    const std::string dot = ClaimGraphDot(tree);
    const TRecords matrix = ParseCsv(DependencyMatrixCsv(tree));
    std::set<std::pair<std::string, std::string>> direct;
    for (std::size_t row = 1; row < matrix.size(); ++row)
        for (std::size_t column = 1; column < matrix[row].size(); ++column)
            if (matrix[row][column] == "D")
                direct.emplace(matrix[row][0], matrix[0][column]);
    EXPECT_EQ(DotEdges(dot), direct);
    EXPECT_TRUE(direct.count({"8", "7"}));

    std::string roots;
    for (const TClaim& claim : tree.Claims)
        if (claim.Kind == 0)
            roots += " \"" + std::to_string(claim.Number) + "\";";
    EXPECT_NE(dot.find("{rank=same;" + roots + "}"), std::string::npos) << dot;
    EXPECT_EQ(dot.rfind("digraph claims {\n", 0), 0U);
    EXPECT_EQ(dot.substr(dot.size() - 2), "}\n");
}

TEST(ClaimExport, RepeatedNumbersGetNamesOfTheirOwnAndForwardReferencesLinkNothing) {
    const TClaimTree tree("What is claimed is:\r\n1. A pump.\r\n2. The pump of claim 1.\r\n"
                          "2. The pump of claim 3.\r\n3. The pump of claim 2.");
    ASSERT_EQ(tree.Claims.size(), 4U);
    EXPECT_EQ(DotEdges(ClaimGraphDot(tree)), (std::set<std::pair<std::string, std::string>>{
                                                 {"2#1", "1"}, {"3", "2#1"}, {"3", "2#2"}}));
    const TRecords matrix = ParseCsv(DependencyMatrixCsv(tree));
    EXPECT_EQ(matrix[0], (std::vector<std::string>{"claim", "1", "2#1", "2#2", "3"}));
    EXPECT_EQ(matrix[4], (std::vector<std::string>{"3", "I", "D", "D", ""}));
}

TEST(ClaimExport, HtmlMatrixIsOneTableWithTheTitleEscaped) {
    const TClaimTree tree(Example4());
    const std::string html = DependencyMatrixHtml(tree, "a <b> & \"c\"");
    const auto count = [&html](const std::string& Part) {
        std::size_t found = 0;
        for (std::size_t at = html.find(Part); at != std::string::npos;
             at = html.find(Part, at + 1))
            ++found;
        return found;
    };
    const std::size_t n = tree.Claims.size();
    EXPECT_EQ(count("<tr>"), n + 1);
    EXPECT_EQ(count("</tr>"), n + 1);
    EXPECT_EQ(count("<td"), n * n);
    EXPECT_EQ(count("<td class=\"D\">D</td>"), DotEdges(ClaimGraphDot(tree)).size());
    EXPECT_NE(html.find("a &lt;b&gt; &amp; &quot;c&quot;"), std::string::npos);
    EXPECT_EQ(html.find("<b> &"), std::string::npos);
    EXPECT_EQ(html.find("http"), std::string::npos) << "the page must stand alone";
}

// Every "->" line, duplicates kept.
std::size_t EdgeLines(const std::string& Dot) {
    std::size_t lines = 0;
    for (std::size_t at = Dot.find(" -> "); at != std::string::npos; at = Dot.find(" -> ", at + 1))
        ++lines;
    return lines;
}

TEST(ClaimExport, DotLinksEachPairOnceHoweverOftenANumberIsNamed) {
    const struct {
        const char* Text;
        std::size_t Edges;
    } cases[] = {
        {"We claim: 1. A.\n 2. B.\n 3. C of claims 1, 1 and 1.\n", 1},
        {"We claim: 1. A.\n 2. B.\n 3. C.\n 4. D of claims 1 to 3 or 2 to 3.\n", 3},
        {"We claim: 1. A.\n 2. B.\n 3. C.\n 4. D of claims 2, 1-3 and 1.\n", 3},
        {"We claim: 1. A.\n 1. B.\n 2. C of claims 1 or 1.\n", 2},
    };
    for (const auto& c : cases) {
        const std::string dot = ClaimGraphDot(TClaimTree(c.Text));
        EXPECT_EQ(EdgeLines(dot), c.Edges) << c.Text << dot;
        EXPECT_EQ(DotEdges(dot).size(), c.Edges) << c.Text << dot;
    }
}

// N claims numbered 1, then M claims "2" that each refer to all of them.
std::string RepeatedNumbers(std::size_t N, std::size_t M) {
    std::string text = "We claim:\n";
    for (std::size_t i = 0; i < N; ++i)
        text += " 1. A pump.\n";
    for (std::size_t i = 0; i < M; ++i)
        text += " 2. The pump of claim 1.\n";
    return text;
}

TEST(ClaimExport, DotRefusesMoreEdgesThanTheLimitRatherThanFillTheMemory) {
    ASSERT_EQ(MaxGraphEdges, 1'000'000U);
    EXPECT_EQ(EdgeLines(ClaimGraphDot(TClaimTree(RepeatedNumbers(1000, 1000)))), MaxGraphEdges);
    EXPECT_THROW(ClaimGraphDot(TClaimTree(RepeatedNumbers(1000, 1001))), std::length_error);
}

} // namespace
