#pragma once

#include <QObject>
#include <string>

class QAction;
class QFileDialog;
class QMenu;
class QWidget;
class TDocumentSource;
class TShownTree;

// The tables the Tools menu exports, always UTF-8: the claims as CSV and
// JSON, the dependency matrix as CSV and HTML.
class TTableExports : public QObject {
    Q_OBJECT

public:
    enum class TTable { ClaimsCsv, ClaimsJson, MatrixCsv, MatrixHtml };

    // Adds the items to Tools; Window owns the dialog.
    TTableExports(TShownTree& Shown, const TDocumentSource& Document, QMenu& Tools,
                  QWidget& Window);

    QAction* ExportClaimsCsv1;
    QAction* ExportClaimsJson1;
    QAction* ExportMatrixCsv1;
    QAction* ExportMatrixHtml1;
    QFileDialog* ExportDialog;

    // The table's bytes for the current tree; empty before any analysis.
    std::string Bytes(TTable Table) const;
    // Asks where, and writes the table there whole or not at all.
    void Export(TTable Table);

private:
    TShownTree& shown;
    const TDocumentSource& document;
    QWidget& window;
};
