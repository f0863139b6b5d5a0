#pragma once

// The readers of each format behind ReadDocument, and what they share.

#include "DocumentReader.h"

#include <QXmlStreamReader>
#include <string_view>

class TZipArchive;

// Original: tracked changes read as the text was before them.
TDocumentRead ReadWordDocument(TZipArchive& Zip, bool Original);
TDocumentRead ReadOpenDocumentText(TZipArchive& Zip, bool Original);
TDocumentRead ReadPatentXml(std::string_view Bytes, const QString& Language);
TDocumentRead ReadHtmlPage(std::string_view Bytes);
TDocumentRead ReadPdfDocument(std::string_view Bytes, const TReadOptions& Options);

// A file of one document: its Text, read as Format; or Error when the
// reading failed.
TDocumentRead OneDocumentRead(const QString& Format, QString Text, const QString& Error = {});

// A QXmlStreamReader that refuses what a hostile file uses to blow up: entity
// declarations (the reader would expand them), and nesting past
// MaxNestingDepth. Entities that an external DTD would define are read as
// the characters they commonly stand for.
class TSafeXml {
public:
    explicit TSafeXml(const QByteArray& Bytes) : reader(Bytes) {}
    explicit TSafeXml(QAnyStringView) = delete;

    // The next token, as QXmlStreamReader gives it; Invalid ends the reading,
    // with Error set when the document was bad.
    QXmlStreamReader::TokenType Next();
    QXmlStreamReader& Reader() { return reader; }
    int Depth() const { return depth; }
    // Empty when the document was read to its end.
    QString Error() const { return error; }
    // The text of an entity reference token or a characters token.
    QString Text() const;

private:
    QXmlStreamReader reader;
    int depth = 0;
    QString error;
};

// The character a named entity commonly stands for; empty when unknown.
QString NamedEntity(QStringView Name);

// The value of the element's attribute of local name Local, whatever its
// namespace prefix; empty when it has none.
QString AttributeOf(const QXmlStreamReader& Reader, const char* Local);

// Text whose whitespace runs are one space, trimmed.
QString Simplified(const QString& Text);

// Whether Text starts with the claim number Number (then "." or ")" or a
// blank), so that writing it again would double it.
bool StartsWithNumber(const QString& Text, int Number);

// A document's text made of its claims: a heading line the analysis knows,
// behind the title when there is one (a heading that opens the text is not
// read as one), then the claims.
QString ClaimsDocumentText(const QString& Title, const QString& Claims);
