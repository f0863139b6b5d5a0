#include "Batch.h"

#include "ClaimChecks.h"
#include "ClaimExport.h"
#include "ClaimTree.h"
#include "InputDocuments.h"
#include "Report.h"
#include "StandardOutput.h"
#include "TextEncoding.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <new>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace {

// What one file gives: its lines for standard output and standard error, and
// the exit status it asks for.
struct TFileReport {
    std::string Out;
    std::string Err;
    int Status = 0;
};

bool IsFolder(const std::string& Name) {
    std::error_code error;
    return Name != "-" && fs::is_directory(Name, error);
}

// A folder's files to read: by name, as a folder holds other files too; each
// is then read by what it holds.
bool IsText(const fs::path& Path) {
    std::string ext = Path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".txt" || ext == ".docx" || ext == ".odt" || ext == ".xml" || ext == ".html" ||
           ext == ".htm" || ext == ".pdf";
}

std::string JsonName(const std::string& Name) {
    return JsonString(DecodeToUtf8(Name));
}

TFileReport Analyse(const std::string& Name, const TReportOptions& Options) {
    TFileReport report;
    std::string input;
    std::optional<std::string> error;
    bool document = false;
    std::vector<TInputDocument> documents;
    try {
        error = ReadFile(Name, input, &document);
        if (!error && document) {
            error = ReadInputDocuments(input, Name, Options.Language, documents, Options.Ocr,
                                       Options.OriginalText);
            input.clear();
        }
    } catch (const std::bad_alloc&) {
        error = "cannot read " + Name + ": not enough memory";
    }
    if (error) {
        report.Err = "veltrum-claims: " + *error + '\n';
        if (Options.Mode == TMode::Json)
            report.Out = "{ \"file\": " + JsonName(Name) +
                         ", \"error\": " + JsonString(DecodeToUtf8(*error)) + " }\n";
        report.Status = 2;
        return report;
    }
    std::ostringstream out;
    std::ostringstream err;
    if (!document) {
        // The reports need the counts and the walk over the whole tree, not the nodes.
        const TClaimTree tree(input, Options.Reading, TClaimTree::MaxCreatedNodes, TNodes::Counted);
        const std::unique_ptr<TClaimTree> other = OtherReading(input, Options.Reading);
        report.Status =
            WriteModeReport(out, err, Options, {Name, Name, true, {}, {}, false, {}, {}, false},
                            tree, input, other.get());
    }
    for (const TInputDocument& one : documents) {
        const TClaimTree tree(one.Text, Options.Reading, TClaimTree::MaxCreatedNodes,
                              TNodes::Counted);
        const std::unique_ptr<TClaimTree> other = OtherReading(one.Text, Options.Reading);
        const TReportInput of = DocumentInput(Name, Name, one, documents, true);
        if (!one.Note.empty())
            err << "veltrum-claims: " << of.File << ' ' << one.Note
                << ": its own claims are read\n";
        const int status = WriteModeReport(out, err, Options, of, tree, one.Text, other.get());
        report.Status = WorseStatus(report.Status, status);
    }
    report.Err = std::move(err).str();
    report.Out = std::move(out).str();
    return report;
}

} // namespace

int WorseStatus(int a, int b) {
    const auto rank = [](int s) { return s == 2 ? 3 : s == 3 ? 2 : s == 1 ? 1 : 0; };
    return rank(a) >= rank(b) ? a : b;
}

TReportInput DocumentInput(const std::string& Name, const std::string& File,
                           const TInputDocument& Document, const std::vector<TInputDocument>& All,
                           bool Batched) {
    TReportInput input{Name, File, Batched, {}, {}, false, {}, {}, false};
    if (Document.Format != "text")
        input.Format = Document.Format;
    input.LineOrigins = Document.LineOrigins;
    input.LastLineOrigins = Document.LastLineOrigins;
    input.Ocr = Document.Ocr;
    input.Links = Document.Links;
    if (All.size() > 1) {
        // Every line then says which document it is of, as a batch's say which file.
        input.OneOfSeveral = true;
        input.Batched = true;
        input.Document =
            Document.Number.empty() ? std::to_string(&Document - All.data() + 1) : Document.Number;
        input.File += '#' + input.Document;
    }
    return input;
}

bool IsBatch(const std::vector<std::string>& Arguments) {
    return Arguments.size() > 1 || (Arguments.size() == 1 && IsFolder(Arguments.front()));
}

std::vector<std::string> BatchFiles(const std::vector<std::string>& Arguments,
                                    std::vector<std::string>& Errors) {
    std::vector<std::string> files;
    for (const std::string& argument : Arguments) {
        if (!IsFolder(argument)) {
            files.push_back(argument);
            continue;
        }
        std::vector<std::string> texts;
        std::error_code error;
        for (fs::directory_iterator it(argument, error), end; !error && it != end;
             it.increment(error)) {
            // A link that leads nowhere or round in a loop is kept: reading
            // it names the fault, where skipping it would hide a file.
            std::error_code kindError;
            if (IsText(it->path()) &&
                (it->is_regular_file(kindError) || (kindError && it->is_symlink(kindError))))
                texts.push_back(it->path().string());
        }
        if (error)
            Errors.push_back("cannot list " + argument + ": " + error.message());
        else if (texts.empty())
            Errors.push_back(argument + " holds no .txt files");
        std::sort(texts.begin(), texts.end());
        files.insert(files.end(), texts.begin(), texts.end());
    }
    return files;
}

std::string JsonLine(std::string_view Pretty, std::string_view File, std::string_view Keys) {
    // Strings escape their line breaks, so every raw one is layout.
    std::string line;
    line.reserve(Pretty.size());
    for (std::size_t i = 0; i < Pretty.size();) {
        if (Pretty[i] != '\n') {
            line += Pretty[i++];
            continue;
        }
        while (i < Pretty.size() && (Pretty[i] == '\n' || Pretty[i] == ' '))
            ++i;
        if (i < Pretty.size())
            line += ' ';
    }
    const std::string key = "\"file\": " + JsonName(std::string(File)) + ", " + std::string(Keys);
    const std::size_t open = line.find('{');
    if (open != std::string::npos)
        line.insert(open + 1 < line.size() && line[open + 1] == ' ' ? open + 2 : open + 1, key);
    return line;
}

int RunBatch(const std::vector<std::string>& Arguments, const TReportOptions& Options, int Jobs,
             std::ostream& Out, std::ostream& Err) {
    std::vector<std::string> errors;
    const std::vector<std::string> files = BatchFiles(Arguments, errors);
    int status = 0;
    for (const std::string& error : errors) {
        Err << "veltrum-claims: " << error << '\n';
        status = 2;
    }

    // The calling thread is one of the Jobs: it analyses files too, and
    // writes the reports in argument order as they become ready.
    std::vector<std::optional<TFileReport>> reports(files.size());
    std::mutex mutex;
    std::condition_variable ready;
    std::size_t waitingFor = files.size(); // the report the writer sleeps for
    std::atomic<std::size_t> next{0};
    const auto analyseOne = [&](std::size_t i) {
        TFileReport report;
        try {
            report = Analyse(files[i], Options);
        } catch (const std::bad_alloc&) {
            report.Err = "veltrum-claims: " + files[i] + ": not enough memory\n";
            report.Status = 2;
        }
        const std::lock_guard lock(mutex);
        reports[i] = std::move(report);
        if (i == waitingFor)
            ready.notify_one();
    };
    const auto work = [&] {
        for (std::size_t i; (i = next++) < files.size();)
            analyseOne(i);
    };

    std::vector<std::thread> workers;
    const auto wanted = static_cast<std::size_t>(std::max(Jobs, 1)) - 1;
    for (std::size_t w = 0; w < std::min(wanted, files.size()); ++w) {
        try {
            workers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // the threads started do the rest
        }
    }

    for (std::size_t written = 0; written < files.size();) {
        // Write what is ready, in order.
        std::vector<TFileReport> batch;
        {
            const std::lock_guard lock(mutex);
            for (; written + batch.size() < files.size() && reports[written + batch.size()];) {
                batch.push_back(std::move(*reports[written + batch.size()]));
                reports[written + batch.size() - 1].reset();
            }
        }
        for (const TFileReport& report : batch) {
            Out << report.Out;
            Err << report.Err;
            status = WorseStatus(status, report.Status);
            // A full disk fails every report after it too: stop analysing.
            if (!Out.flush()) {
                Err << "veltrum-claims: cannot write the report of " << files[written] << ": "
                    << std::strerror(WriteError(Out)) << '\n';
                next = files.size();
                for (std::thread& worker : workers)
                    worker.join();
                return Failed;
            }
            ++written;
        }
        if (written == files.size())
            break;
        // Then analyse a file, or wait for the next report when none is left.
        if (const std::size_t i = next++; i < files.size()) {
            analyseOne(i);
            continue;
        }
        std::unique_lock lock(mutex);
        waitingFor = written;
        ready.wait(lock, [&] { return reports[written].has_value(); });
        waitingFor = files.size();
    }
    for (std::thread& worker : workers)
        worker.join();
    return status;
}
