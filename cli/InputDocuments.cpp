#include "InputDocuments.h"

#include "DocumentReader.h"
#include "TextEncoding.h"

std::optional<std::string> ReadInputDocuments(std::string_view Bytes, const std::string& Name,
                                              const std::string& Language,
                                              std::vector<TInputDocument>& Documents, bool Ocr,
                                              bool OriginalText) {
    Documents.clear();
    TReadOptions options;
    options.Language = QString::fromStdString(Language);
    options.Ocr = Ocr;
    options.OriginalText = OriginalText;
    const TDocumentRead read = ReadDocument(Bytes, options);
    if (!read.Error.isEmpty())
        return Name + " " + read.Error.toStdString();
    if (read.Format == QLatin1String("text")) {
        // Markup-like text that is none: read as every plain text is.
        std::string text(Bytes);
        DecodeForAnalysis(text);
        Documents.push_back({std::move(text), "text", {}, {}, {}, false, {}, {}});
        return std::nullopt;
    }
    for (const TReadDocument& document : read.Documents) {
        Documents.push_back({document.Text.toStdString(),
                             read.Format.toStdString(),
                             document.Number.toStdString(),
                             document.LineOrigins,
                             document.LastLineOrigins,
                             document.Ocr,
                             {},
                             document.Note.toStdString()});
        for (const TClaimLink& link : document.Links)
            Documents.back().Links.push_back({link.From, link.To});
    }
    return std::nullopt;
}
