#include "ClaimListingDocx.h"

#include "ClaimListing.h"

#include <array>
#include <cstdio>
#include <memory>
#include <utility>
#include <zip.h>

namespace {

// Text as XML character data: markup characters escaped, and the control
// characters XML 1.0 forbids left out rather than making the file unreadable.
std::string XmlText(std::string_view Utf8) {
    std::string out;
    out.reserve(Utf8.size());
    for (char c : Utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r')
            continue;
        else
            out += c;
    }
    return out;
}

// One run; Style is the run's properties ("<w:u w:val=\"single\"/>").
void AppendRun(std::string& Xml, std::string_view Text, std::string_view Style = {}) {
    Xml += "<w:r>";
    if (!Style.empty()) {
        Xml += "<w:rPr>";
        Xml += Style;
        Xml += "</w:rPr>";
    }
    Xml += "<w:t xml:space=\"preserve\">" + XmlText(Text) + "</w:t></w:r>";
}

std::string DocumentXml(const TClaimComparison& Comparison, std::string_view Title) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:body>";
    xml += "<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr>";
    AppendRun(xml, "Listing of Claims", "<w:b/>");
    xml += "</w:p>";
    if (!Title.empty()) {
        xml += "<w:p>";
        AppendRun(xml, Title);
        xml += "</w:p>";
    }
    for (const TListingEntry& entry : ClaimListing(Comparison)) {
        xml += "<w:p><w:pPr><w:spacing w:line=\"360\" w:lineRule=\"auto\"/></w:pPr>";
        AppendRun(xml, entry.Label + ". (" + AmendmentStatusName(entry.Status) + ")");
        for (const TTextPiece& piece : entry.Text) {
            AppendRun(xml, " ");
            if (piece.Change == TTextChange::Inserted)
                AppendRun(xml, piece.Text, "<w:u w:val=\"single\"/>");
            else if (piece.Change == TTextChange::Deleted && BracketedDeletion(piece.Text))
                AppendRun(xml, "[[" + piece.Text + "]]");
            else if (piece.Change == TTextChange::Deleted)
                AppendRun(xml, piece.Text, "<w:strike/>");
            else
                AppendRun(xml, piece.Text);
        }
        xml += "</w:p>";
    }
    xml += "<w:sectPr/></w:body></w:document>\n";
    return xml;
}

constexpr const char* ContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/word/document.xml\" "
    "ContentType=\"application/"
    "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "</Types>\n";

constexpr const char* PackageRelationships =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "officeDocument\" Target=\"word/document.xml\"/>"
    "</Relationships>\n";

struct TSourceFree {
    void operator()(zip_source_t* Source) const { zip_source_free(Source); }
};

} // namespace

std::string ClaimListingDocx(const TClaimComparison& Comparison, std::string_view Title,
                             std::string& Error) {
    Error.clear();
    // The members must outlive zip_close, which compresses them.
    const std::array<std::pair<const char*, std::string>, 3> members = {{
        {"[Content_Types].xml", ContentTypes},
        {"_rels/.rels", PackageRelationships},
        {"word/document.xml", DocumentXml(Comparison, Title)},
    }};
    zip_error_t error;
    zip_error_init(&error);
    const auto fail = [&](const char* What) {
        Error = std::string(What) + ": " + zip_error_strerror(&error);
        zip_error_fini(&error);
        return std::string();
    };
    std::unique_ptr<zip_source_t, TSourceFree> buffer(
        zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!buffer)
        return fail("cannot make the Word document");
    // Kept past zip_close, to read the container back from.
    zip_source_keep(buffer.get());
    zip_t* archive = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(buffer.get()); // the reference zip_open_from_source did not take
        return fail("cannot make the Word document");
    }
    for (const auto& [name, data] : members) {
        zip_source_t* member = zip_source_buffer(archive, data.data(), data.size(), 0);
        if (!member || zip_file_add(archive, name, member, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(member);
            zip_error_set(&error, zip_error_code_zip(zip_get_error(archive)), 0);
            zip_discard(archive);
            return fail("cannot make the Word document");
        }
    }
    if (zip_close(archive) < 0) {
        zip_error_set(&error, zip_error_code_zip(zip_get_error(archive)), 0);
        zip_discard(archive);
        return fail("cannot write the Word document");
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(buffer.get(), &stat) < 0 || zip_source_open(buffer.get()) < 0)
        return fail("cannot read the Word document back");
    std::string bytes(static_cast<std::size_t>(stat.size), '\0');
    const zip_int64_t read = zip_source_read(buffer.get(), bytes.data(), stat.size);
    zip_source_close(buffer.get());
    if (read != static_cast<zip_int64_t>(stat.size))
        return fail("cannot read the Word document back");
    zip_error_fini(&error);
    return bytes;
}
