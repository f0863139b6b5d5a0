// How the lenient reading reads claims that come in documents: every claim
// set of the lenient corpus is written as a Word document (automatic
// numbering, tracked changes), an OpenDocument text (list numbering, tracked
// changes), USPTO XML (alone and all in one weekly file), EPO XML (three
// languages) and a saved web page; each is read back through the documents
// library and analysed, and compared with the lenient reading of the same
// claims as a plain text. For USPTO XML, whose claim references carry links
// (made from the careful reading the corpus writes down), the share of
// claims whose text-read references agree with their links is counted too.
//
//   build/bench/document_acceptance tests/data/lenient [--faults | --show NAME]
//
// --faults lists each claim set a format reads otherwise and each link that
// disagrees; --show prints the plain text of claim set NAME and the text
// read from each of its documents.

#include "../tests/documents/TestZip.h"
#include "ClaimChecks.h"
#include "ClaimTree.h"
#include "DocumentReader.h"
#include "TextEncoding.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TSetClaim {
    int32_t Number = 0;
    std::string Text;             // one line, UTF-8, without its number
    std::vector<int32_t> Careful; // the references the corpus writes down
};

using TReadClaims = std::vector<std::pair<int32_t, std::vector<int32_t>>>;

std::string ReadFile(const fs::path& Path) {
    std::ifstream in(Path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The careful reading: claim number -> references, the first of a number.
std::map<int32_t, std::vector<int32_t>> ReadExpected(const fs::path& Path) {
    std::map<int32_t, std::vector<int32_t>> claims;
    std::istringstream lines(ReadFile(Path));
    for (std::string line; std::getline(lines, line);) {
        int32_t number = 0, at = 0;
        const std::size_t colon = line.find(':');
        if (line.empty() || line[0] == '#' || colon == std::string::npos ||
            std::sscanf(line.c_str(), "%d (line %d)", &number, &at) != 2)
            continue;
        std::vector<int32_t> refs;
        std::istringstream in(line.substr(colon + 1));
        for (int32_t r; in >> r;)
            refs.push_back(r);
        claims.emplace(number, std::move(refs));
    }
    return claims;
}

std::vector<int32_t> Sorted(std::vector<int32_t> List) {
    std::sort(List.begin(), List.end());
    List.erase(std::unique(List.begin(), List.end()), List.end());
    return List;
}

TReadClaims Reading(const TClaimTree& Tree) {
    TReadClaims claims;
    for (const TClaim& claim : Tree.Claims)
        claims.emplace_back(claim.Number, Sorted(claim.ReferenceList()));
    return claims;
}

TReadClaims LenientReading(const std::string& Text) {
    return Reading(TClaimTree(Text, TReading::Lenient, 0));
}

// The claims of the first claim set as the lenient reading finds them.
std::vector<TSetClaim> ClaimSet(const fs::path& Text, const fs::path& Expected) {
    std::string bytes = ReadFile(Text);
    DecodeForAnalysis(bytes);
    const TClaimTree tree(bytes, TReading::Lenient, 0);
    const auto careful = ReadExpected(Expected);
    std::vector<TSetClaim> claims;
    for (const TClaim& claim : tree.Claims) {
        TSetClaim one;
        one.Number = claim.Number;
        std::string text = tree.TextIsUtf8 ? claim.Text : Windows1252ToUtf8(claim.Text);
        if (text.find_first_not_of(" \t\r\n") == std::string::npos && !claim.Status.empty())
            text = "(" + claim.Status + ")";
        for (char& c : text)
            if (c == '\n' || c == '\r' || c == '\t' || c == '\f')
                c = ' ';
        const std::size_t start = text.find_first_not_of(' ');
        one.Text = start == std::string::npos ? std::string() : text.substr(start);
        while (!one.Text.empty() && one.Text.back() == ' ')
            one.Text.pop_back();
        if (const auto found = careful.find(claim.Number); found != careful.end())
            one.Careful = found->second;
        claims.push_back(std::move(one));
    }
    return claims;
}

std::string PlainText(const std::vector<TSetClaim>& Claims) {
    std::string text = "Claims:\n\n";
    for (const TSetClaim& claim : Claims)
        text += std::to_string(claim.Number) + ". " + claim.Text + "\n";
    return text;
}

std::string Escaped(const std::string& Text) {
    std::string out;
    for (const char c : Text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (static_cast<unsigned char>(c) < 0x20)
            out += ' ';
        else
            out += c;
    }
    return out;
}

// Where a claim's tracked insertion starts: at a blank past its middle.
std::size_t Half(const std::string& Text) {
    const std::size_t half = Text.find(' ', Text.size() / 2);
    return half == std::string::npos ? Text.size() : half;
}

// Every third claim as its documents' tracked changes leave it in the
// original: a deleted word before it, its inserted second half gone.
std::vector<TSetClaim> OriginalClaims(std::vector<TSetClaim> Claims) {
    for (std::size_t i = 1; i < Claims.size(); i += 3)
        Claims[i].Text = "former " + Claims[i].Text.substr(0, Half(Claims[i].Text));
    return Claims;
}

// ---- Word: each claim an item of an automatic list; a list restarts where
// the numbers do not run on. Every third claim carries a deleted word and
// its second half as an insertion.
std::string WordDocument(const std::vector<TSetClaim>& Claims) {
    const std::string ns =
        " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
    std::string body = "<w:p><w:r><w:t>Claims</w:t></w:r></w:p>";
    std::string nums;
    int numId = 0;
    int32_t previous = -1;
    for (std::size_t i = 0; i < Claims.size(); ++i) {
        const TSetClaim& claim = Claims[i];
        if (claim.Number != previous + 1 || numId == 0) {
            ++numId;
            nums += "<w:num w:numId=\"" + std::to_string(numId) +
                    "\"><w:abstractNumId w:val=\"1\"/><w:lvlOverride w:ilvl=\"0\"><w:startOverride "
                    "w:val=\"" +
                    std::to_string(claim.Number) + "\"/></w:lvlOverride></w:num>";
        }
        previous = claim.Number;
        body += "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"" +
                std::to_string(numId) + "\"/></w:numPr></w:pPr>";
        const std::string text = Escaped(claim.Text);
        if (i % 3 == 1) {
            const std::size_t half = Half(claim.Text);
            body += "<w:del w:id=\"" + std::to_string(i) +
                    "\"><w:r><w:delText xml:space=\"preserve\">former </w:delText></w:r></w:del>"
                    "<w:r><w:t xml:space=\"preserve\">" +
                    Escaped(claim.Text.substr(0, half)) + "</w:t></w:r><w:ins w:id=\"" +
                    std::to_string(i) + "\"><w:r><w:t xml:space=\"preserve\">" +
                    Escaped(claim.Text.substr(half)) + "</w:t></w:r></w:ins>";
        } else {
            body += "<w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
        }
        body += "</w:p>";
    }
    return MakeZip(
        {{"[Content_Types].xml", "<Types/>"},
         {"word/document.xml",
          "<?xml version=\"1.0\"?><w:document" + ns + "><w:body>" + body + "</w:body></w:document>",
          true},
         {"word/numbering.xml",
          "<w:numbering" + ns +
              "><w:abstractNum w:abstractNumId=\"1\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/>"
              "<w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum>" +
              nums + "</w:numbering>",
          true}});
}

// ---- OpenDocument: one list, an item's start value where the numbers do
// not run on; every third claim has a tracked deletion and insertion.
std::string OdfDocument(const std::vector<TSetClaim>& Claims) {
    const std::string ns = " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
                           " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
                           " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\"";
    std::string changes, list;
    int32_t previous = -1;
    for (std::size_t i = 0; i < Claims.size(); ++i) {
        const TSetClaim& claim = Claims[i];
        list += claim.Number != previous + 1
                    ? "<text:list-item text:start-value=\"" + std::to_string(claim.Number) + "\">"
                    : std::string("<text:list-item>");
        previous = claim.Number;
        const std::string text = Escaped(claim.Text);
        const std::string id = std::to_string(i);
        if (i % 3 == 1) {
            changes += "<text:changed-region text:id=\"d" + id +
                       "\"><text:deletion><text:p>former </text:p></text:deletion>"
                       "</text:changed-region><text:changed-region text:id=\"i" +
                       id + "\"><text:insertion/></text:changed-region>";
            const std::size_t half = Half(claim.Text);
            list += "<text:p><text:change text:change-id=\"d" + id + "\"/>" +
                    Escaped(claim.Text.substr(0, half)) + "<text:change-start text:change-id=\"i" +
                    id + "\"/>" + Escaped(claim.Text.substr(half)) +
                    "<text:change-end text:change-id=\"i" + id + "\"/></text:p>";
        } else {
            list += "<text:p>" + text + "</text:p>";
        }
        list += "</text:list-item>";
    }
    return MakeZip(
        {{"mimetype", "application/vnd.oasis.opendocument.text"},
         {"content.xml",
          "<office:document-content" + ns +
              "><office:automatic-styles><text:list-style style:name=\"L1\">"
              "<text:list-level-style-number text:level=\"1\" style:num-suffix=\".\" "
              "style:num-format=\"1\"/></text:list-style></office:automatic-styles><office:body>"
              "<office:text><text:tracked-changes>" +
              changes +
              "</text:tracked-changes><text:p>Claims</text:p><text:list "
              "text:style-name=\"L1\">" +
              list + "</text:list></office:text></office:body></office:document-content>",
          true}});
}

// A claim's text with its careful references marked as links: around the
// first number in the text that names each, else as an empty link.
std::string LinkedText(const TSetClaim& Claim, const char* Element, const char* Id) {
    std::string text = Escaped(Claim.Text);
    std::string empty;
    for (const int32_t to : Sorted(Claim.Careful)) {
        const std::string number = std::to_string(to);
        const std::string link =
            std::string("<") + Element + " idref=\"" + Id + std::to_string(to) + "\">";
        std::size_t at = 0;
        for (at = text.find(number); at != std::string::npos; at = text.find(number, at + 1)) {
            const bool digitBefore =
                at > 0 && std::isdigit(static_cast<unsigned char>(text[at - 1]));
            const std::size_t end = at + number.size();
            const bool digitAfter =
                end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]));
            // Not inside a link already made, nor inside its markup.
            const std::size_t open = text.rfind('<', at);
            const bool inMarkup = open != std::string::npos && text.find('>', open) > at;
            const bool inLink =
                open != std::string::npos &&
                text.compare(open, 1 + std::strlen(Element), "<" + std::string(Element)) == 0;
            if (!digitBefore && !digitAfter && !inMarkup && !inLink)
                break;
        }
        if (at == std::string::npos)
            empty += link + "</" + Element + ">";
        else
            text = text.substr(0, at) + link + number + "</" + Element + ">" +
                   text.substr(at + number.size());
    }
    return text + empty;
}

std::string UsptoDocument(const std::vector<TSetClaim>& Claims, int Serial) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE us-patent-grant "
                      "SYSTEM \"us-patent-grant-v45-2014-04-03.dtd\" [ ]>\n<us-patent-grant "
                      "lang=\"EN\"><us-bibliographic-data-grant><publication-reference>"
                      "<document-id><country>US</country><doc-number>" +
                      std::to_string(30000000 + Serial) +
                      "</doc-number><kind>B2</kind></document-id></publication-reference>"
                      "</us-bibliographic-data-grant><claims id=\"claims\">\n";
    for (const TSetClaim& claim : Claims)
        xml += "<claim id=\"CLM-" + std::to_string(claim.Number) + "\" num=\"" +
               std::to_string(claim.Number) + "\"><claim-text>" + std::to_string(claim.Number) +
               ". " + LinkedText(claim, "claim-ref", "CLM-") + "</claim-text></claim>\n";
    return xml + "</claims></us-patent-grant>\n";
}

// The proceedings in English; the German and French blocks before and after
// it hold the same claims marked as theirs.
std::string EpoDocument(const std::vector<TSetClaim>& Claims) {
    std::string xml = "<?xml version=\"1.0\"?><ep-patent-document id=\"EP3999999B1\" "
                      "country=\"EP\" doc-number=\"3999999\" kind=\"B1\" lang=\"en\"><SDOBI/>";
    for (const char* lang : {"de", "en", "fr"}) {
        xml += std::string("<claims lang=\"") + lang + "\">";
        for (const TSetClaim& claim : Claims)
            xml += "<claim num=\"" + std::to_string(claim.Number) + "\"><claim-text>" +
                   Escaped(claim.Text) + "</claim-text></claim>";
        xml += "</claims>";
    }
    return xml + "</ep-patent-document>";
}

std::string HtmlPage(const std::vector<TSetClaim>& Claims) {
    std::string html = "<!DOCTYPE html><html><head><title>US30000000B2</title><script>var "
                       "claims = ['1. no'];</script></head><body><nav><ol><li>Search</li></ol>"
                       "</nav><section itemprop=\"claims\"><h2>Claims</h2>\n";
    for (const TSetClaim& claim : Claims) {
        const bool dependent = !claim.Careful.empty();
        html += dependent ? "<div class=\"claim-dependent\">" : "";
        html += "<div num=\"" + std::to_string(claim.Number) +
                "\" class=\"claim\"><div class=\"claim-text\">" + std::to_string(claim.Number) +
                ". " + LinkedText(claim, "claim-ref", "CLM-") + "</div></div>";
        html += dependent ? "</div>\n" : "\n";
    }
    return html + "</section></body></html>\n";
}

struct TTally {
    long Same = 0;
    long Total = 0;
    void Add(const TReadClaims& Got, const TReadClaims& Want) {
        Total += static_cast<long>(std::max(Got.size(), Want.size()));
        for (std::size_t i = 0; i < std::min(Got.size(), Want.size()); ++i)
            Same += Got[i] == Want[i];
    }
    std::string Share() const {
        char text[64];
        std::snprintf(text, sizeof text, "%6.2f %% (%ld of %ld)",
                      Total ? 100.0 * static_cast<double>(Same) / static_cast<double>(Total) : 0.0,
                      Same, Total);
        return text;
    }
};

TReadClaims DocumentReading(const TDocumentRead& Read, std::size_t Index, std::string* Error) {
    if (!Read.Error.isEmpty() || Index >= Read.Documents.size()) {
        *Error = Read.Error.toStdString();
        return {};
    }
    return LenientReading(Read.Documents[Index].Text.toStdString());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: document_acceptance CORPUS_FOLDER [--faults]\n";
        return 2;
    }
    const bool faults = argc > 2 && std::string(argv[2]) == "--faults";
    const std::string show = argc > 3 && std::string(argv[2]) == "--show" ? argv[3] : "";
    std::vector<fs::path> texts;
    for (const auto& entry : fs::directory_iterator(argv[1]))
        if (entry.path().extension() == ".txt" && entry.path().filename() != "README.txt")
            texts.push_back(entry.path());
    std::sort(texts.begin(), texts.end());

    const char* const formats[] = {
        "docx",    "docx --original-text",  "odt", "odt --original-text", "uspto-xml", "weekly-xml",
        "epo-xml", "epo-xml --language de", "html"};
    std::map<std::string, TTally> tallies;
    TTally careful, linked;
    std::string weekly;
    std::vector<TReadClaims> weeklyWanted;
    int serial = 0;
    for (const fs::path& path : texts) {
        fs::path expected = path;
        expected.replace_extension(".expected");
        const std::vector<TSetClaim> claims = ClaimSet(path, expected);
        if (claims.empty())
            continue;
        const TReadClaims plain = LenientReading(PlainText(claims));
        // The careful reading against the lenient one of the same plain claims.
        TReadClaims wanted;
        for (const TSetClaim& claim : claims)
            wanted.emplace_back(claim.Number, Sorted(claim.Careful));
        careful.Add(plain, wanted);

        const std::string uspto = UsptoDocument(claims, ++serial);
        weekly += uspto;
        weeklyWanted.push_back(plain);
        const std::pair<std::string, TDocumentRead> reads[] = {
            {"docx", ReadDocument(WordDocument(claims))},
            {"odt", ReadDocument(OdfDocument(claims))},
            {"uspto-xml", ReadDocument(uspto)},
            {"epo-xml", ReadDocument(EpoDocument(claims))},
            {"epo-xml --language de", ReadDocument(EpoDocument(claims), QStringLiteral("de"))},
            {"html", ReadDocument(HtmlPage(claims))},
        };
        if (path.stem() == show)
            std::cout << "---- plain\n" << PlainText(claims);
        TReadOptions original;
        original.OriginalText = true;
        const TReadClaims before = LenientReading(PlainText(OriginalClaims(claims)));
        const std::pair<std::string, TDocumentRead> originals[] = {
            {"docx --original-text", ReadDocument(WordDocument(claims), original)},
            {"odt --original-text", ReadDocument(OdfDocument(claims), original)},
        };
        for (const auto& [format, read] : originals) {
            std::string error;
            const TReadClaims got = DocumentReading(read, 0, &error);
            tallies[format].Add(got, before);
            if (faults && (got != before || !error.empty()))
                std::cout << path.filename().string() << ": " << format << " reads otherwise"
                          << (error.empty() ? "" : ": " + error) << "\n";
        }
        for (const auto& [format, read] : reads) {
            if (path.stem() == show && !read.Documents.empty())
                std::cout << "---- " << format << "\n" << read.Documents[0].Text.toStdString();
            std::string error;
            const TReadClaims got = DocumentReading(read, 0, &error);
            tallies[format].Add(got, plain);
            if (faults && (got != plain || !error.empty()))
                std::cout << path.filename().string() << ": " << format << " reads otherwise"
                          << (error.empty() ? "" : ": " + error) << "\n";
        }

        // The links of the USPTO document against the references its text gives.
        const TDocumentRead read = ReadDocument(uspto);
        if (read.Error.isEmpty()) {
            const std::string text = read.Documents[0].Text.toStdString();
            const TClaimTree tree(text, TReading::Lenient, 0);
            std::vector<TMarkupLink> links;
            for (const TClaimLink& link : read.Documents[0].Links)
                links.push_back({link.From, link.To});
            // A claim without a link of its own is compared too: an empty
            // link list would turn the comparison off.
            const std::vector<TClaimProblem> problems =
                LinkProblems(tree, links.empty() ? std::vector<TMarkupLink>{{-1, -1}} : links);
            linked.Total += static_cast<long>(tree.Claims.size());
            linked.Same += static_cast<long>(tree.Claims.size() - problems.size());
            for (const TClaimProblem& problem : problems)
                if (faults)
                    std::cout << path.filename().string() << ": " << problem.Message << "\n";
        }
    }
    const TDocumentRead all = ReadDocument(weekly);
    for (std::size_t i = 0; i < weeklyWanted.size(); ++i) {
        std::string error;
        tallies["weekly-xml"].Add(DocumentReading(all, i, &error), weeklyWanted[i]);
    }

    std::cout << "claim sets: " << serial << " (" << texts.size() << " texts), weekly file "
              << weekly.size() / 1024 << " KB with " << all.Documents.size() << " documents\n"
              << "(a) claims the lenient reading reads in the document as in the plain text:\n";
    for (const char* format : formats)
        std::cout << "    " << format << std::string(24 - std::string(format).size(), ' ')
                  << tallies[format].Share() << "\n";
    std::cout << "(b) USPTO claims whose text references agree with their <claim-ref> links: "
              << linked.Share() << "\n"
              << "    (for reference: the lenient reading of the plain claims against the "
                 "careful reading: "
              << careful.Share() << ")\n";
    return 0;
}
