#include "ClaimListingDocx.h"

#include "ClaimTree.h"
#include "DocumentReader.h"
#include "ZipArchive.h"

#include <gtest/gtest.h>

// The listing written as a Word document reads back through the documents
// library as the listing's text, with the markup in the runs' properties.
TEST(ClaimListingDocxTest, ReadsBackWithItsMarkup) {
    const TClaimTree before("1. A fan with a hub and six blades turning freely about an axis.\n"
                            "2. The fan of claim 1, wherein the blades are curved.\n",
                            TReading::Lenient);
    const TClaimTree after("1. A fan with a hub and five blades turning about a fixed axis.\n"
                           "3. The fan of claim 1, wherein the hub is <hollow> & round.\n",
                           TReading::Lenient);
    std::string error;
    const std::string bytes = ClaimListingDocx(CompareClaims(before, after), "Fan", error);
    ASSERT_TRUE(error.empty()) << error;

    const TDocumentRead read = ReadDocument(bytes);
    ASSERT_TRUE(read.Error.isEmpty()) << read.Error.toStdString();
    EXPECT_EQ(read.Format, QLatin1String("docx"));
    ASSERT_EQ(read.Documents.size(), 1u);
    EXPECT_EQ(read.Documents[0].Text.toStdString(),
              "Listing of Claims\nFan\n"
              "1. (Currently Amended) A fan with a hub and [[six]] five blades turning freely "
              "about [[an]] a fixed axis.\n"
              "2. (Canceled)\n"
              "3. (New) The fan of claim 1, wherein the hub is <hollow> & round.\n");

    QString zipError;
    TZipArchive zip(bytes, zipError);
    QByteArray xml;
    ASSERT_TRUE(zip.Read("word/document.xml", xml, zipError)) << zipError.toStdString();
    EXPECT_TRUE(xml.contains("<w:rPr><w:u w:val=\"single\"/></w:rPr>"
                             "<w:t xml:space=\"preserve\">five</w:t>"));
    EXPECT_TRUE(xml.contains("<w:rPr><w:strike/></w:rPr><w:t xml:space=\"preserve\">freely</w:t>"));
}
