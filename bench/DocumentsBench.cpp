// Opening large documents: a 500-page Word draft with automatically numbered
// claims and tracked changes, and a 50 MB weekly patent-office XML file.
// The peak resident memory of the process is reported beside the time.

#include "../tests/documents/TestZip.h"
#include "DocumentReader.h"

#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <sys/resource.h>

namespace {

// Words of varied length, as a text has, so the container packs as a real
// document does rather than as a run of one phrase.
std::string Words(std::mt19937& Random, int Count) {
    static const char* const words[] = {"the",     "pump",       "housing", "valve", "rotor",
                                        "wherein", "comprising", "shaft",   "seal",  "inlet",
                                        "outlet",  "of",         "and",     "a",     "first",
                                        "second",  "chamber",    "spring"};
    std::string text;
    for (int i = 0; i < Count; ++i) {
        text += words[Random() % std::size(words)];
        if (Random() % 7 == 0)
            text += std::to_string(Random() % 1000);
        text += ' ';
    }
    return text;
}

// Some 45 paragraphs of 11 words make a page; every tenth is a claim of an
// automatic list, every twentieth carries a tracked change.
std::string WordDraft(int Pages) {
    std::mt19937 random(7);
    std::string body;
    for (int p = 0; p < Pages * 45; ++p) {
        body += "<w:p>";
        if (p % 10 == 0)
            body += "<w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr>";
        body += "<w:r><w:t xml:space=\"preserve\">" + Words(random, 6) + "</w:t></w:r>";
        if (p % 20 == 0)
            body += "<w:del><w:r><w:delText>old words</w:delText></w:r></w:del><w:ins><w:r><w:t>"
                    "new words </w:t></w:r></w:ins>";
        body += "<w:r><w:t xml:space=\"preserve\">" + Words(random, 5) + "</w:t></w:r></w:p>";
    }
    const std::string ns =
        " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
    return MakeZip(
        {{"word/document.xml", "<w:document" + ns + "><w:body>" + body + "</w:body></w:document>",
          true},
         {"word/numbering.xml",
          "<w:numbering" + ns +
              "><w:abstractNum w:abstractNumId=\"1\"><w:lvl w:ilvl=\"0\"><w:start "
              "w:val=\"1\"/><w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum><w:num w:numId=\"1\">"
              "<w:abstractNumId w:val=\"1\"/></w:num></w:numbering>",
          true}});
}

// Grants of some 50 KB each, one after another, to Bytes in all.
std::string WeeklyFile(std::size_t Bytes) {
    std::mt19937 random(11);
    std::string file;
    for (int n = 1; file.size() < Bytes; ++n) {
        file += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE us-patent-grant SYSTEM "
                "\"us-patent-grant-v45-2014-04-03.dtd\" [ ]>\n<us-patent-grant lang=\"EN\">"
                "<us-bibliographic-data-grant><publication-reference><document-id><country>US"
                "</country><doc-number>" +
                std::to_string(20000000 + n) +
                "</doc-number><kind>B2"
                "</kind></document-id></publication-reference><invention-title>" +
                Words(random, 5) + "</invention-title></us-bibliographic-data-grant><description>";
        for (int p = 0; p < 60; ++p)
            file += "<p num=\"" + std::to_string(p) + "\">" + Words(random, 90) + "</p>\n";
        file += "</description><claims id=\"claims\">";
        for (int c = 1; c <= 20; ++c) {
            file += "<claim id=\"CLM-" + std::to_string(c) + "\" num=\"" + std::to_string(c) +
                    "\"><claim-text>" + std::to_string(c) + ". The pump of ";
            if (c > 1)
                file += "<claim-ref idref=\"CLM-" + std::to_string(c - 1) + "\">claim " +
                        std::to_string(c - 1) + "</claim-ref>, ";
            file += "comprising:<claim-text>" + Words(random, 20) +
                    "</claim-text></claim-text></claim>\n";
        }
        file += "</claims></us-patent-grant>\n";
    }
    return file;
}

void ReportPeakMemory(benchmark::State& State) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    State.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_OpenWordDraft500Pages(benchmark::State& State) {
    const std::string file = WordDraft(500);
    State.counters["file_MB"] = static_cast<double>(file.size()) / (1 << 20);
    for (auto _ : State) {
        const TDocumentRead read = ReadDocument(file);
        if (!read.Error.isEmpty())
            State.SkipWithError(read.Error.toStdString().c_str());
        benchmark::DoNotOptimize(read.Documents.front().Text.size());
    }
    ReportPeakMemory(State);
}
BENCHMARK(BM_OpenWordDraft500Pages)->Unit(benchmark::kMillisecond);

void BM_OpenWeeklyXml50MB(benchmark::State& State) {
    const std::string file = WeeklyFile(std::size_t{50} << 20);
    State.counters["file_MB"] = static_cast<double>(file.size()) / (1 << 20);
    for (auto _ : State) {
        const TDocumentRead read = ReadDocument(file);
        if (!read.Error.isEmpty())
            State.SkipWithError(read.Error.toStdString().c_str());
        State.counters["documents"] = static_cast<double>(read.Documents.size());
    }
    ReportPeakMemory(State);
}
BENCHMARK(BM_OpenWeeklyXml50MB)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
