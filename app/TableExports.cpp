#include "TableExports.h"

#include "ClaimExport.h"
#include "ClaimTree.h"
#include "Dialogs.h"
#include "DocumentPlaces.h"
#include "DocumentSource.h"
#include "Report.h"
#include "ShownTree.h"
#include "TextEncoding.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <sstream>
#include <stdexcept>

namespace {

struct TTableFormat {
    const char* Filter;
    const char* Suffix;
    const char* NameEnd;
};

TTableFormat FormatOf(TTableExports::TTable Table) {
    switch (Table) {
    case TTableExports::TTable::ClaimsCsv:
        return {"CSV files (*.csv)", "csv", "-claims.csv"};
    case TTableExports::TTable::ClaimsJson:
        return {"JSON files (*.json)", "json", "-claims.json"};
    case TTableExports::TTable::MatrixCsv:
        return {"CSV files (*.csv)", "csv", "-matrix.csv"};
    case TTableExports::TTable::MatrixHtml:
        return {"HTML pages (*.html *.htm)", "html", "-matrix.html"};
    }
    return {"", "", ""};
}

} // namespace

TTableExports::TTableExports(TShownTree& Shown, const TDocumentSource& Document, QMenu& Tools,
                             QWidget& Window)
    : QObject(&Window), shown(Shown), document(Document), window(Window) {
    const auto addItem = [this, &Tools](const char* Name, const QString& Caption, TTable Table) {
        QAction* item = Tools.addAction(Caption);
        item->setObjectName(QLatin1String(Name));
        connect(item, &QAction::triggered, this,
                [this, Table] { RunHandler([this, Table] { Export(Table); }); });
        return item;
    };
    ExportClaimsCsv1 =
        addItem("ExportClaimsCsv1", QStringLiteral("Export claims as &CSV..."), TTable::ClaimsCsv);
    ExportClaimsJson1 = addItem("ExportClaimsJson1", QStringLiteral("Export claims as &JSON..."),
                                TTable::ClaimsJson);
    ExportMatrixCsv1 =
        addItem("ExportMatrixCsv1", QStringLiteral("Export dependency &matrix as CSV..."),
                TTable::MatrixCsv);
    ExportMatrixHtml1 =
        addItem("ExportMatrixHtml1", QStringLiteral("Export dependency matrix as &HTML..."),
                TTable::MatrixHtml);
    // There is something to export once a text has been analysed.
    connect(&Tools, &QMenu::aboutToShow, this, [this] {
        for (QAction* item :
             {ExportClaimsCsv1, ExportClaimsJson1, ExportMatrixCsv1, ExportMatrixHtml1})
            item->setEnabled(shown.Tree() != nullptr);
    });

    ExportDialog = new TSaveFileDialog(&Window);
    ExportDialog->setObjectName(QStringLiteral("ExportDialog"));
    ExportDialog->setFileMode(QFileDialog::AnyFile);
}

std::string TTableExports::Bytes(TTable Table) const {
    const TClaimTree* tree = shown.Tree();
    if (tree == nullptr)
        return {};
    const bool utf8 = IsValidUtf8(document.AnalysedText());
    switch (Table) {
    case TTable::ClaimsCsv:
        return ClaimsCsv(*tree, utf8);
    case TTable::ClaimsJson: {
        std::ostringstream out;
        WriteJsonReport(out, *tree, utf8);
        return out.str();
    }
    case TTable::MatrixCsv:
        return DependencyMatrixCsv(*tree);
    case TTable::MatrixHtml:
        return DependencyMatrixHtml(
            *tree, QFileInfo(document.FileName()).fileName().toUtf8().toStdString());
    }
    return {};
}

void TTableExports::Export(TTable Table) {
    if (shown.Tree() == nullptr)
        return;
    const TTableFormat format = FormatOf(Table);
    const QString documentName = document.FileName();
    const QString folder = ExportDialogStartDir(
        documentName.isEmpty() ? QDir::homePath() : QFileInfo(documentName).absolutePath());
    const QString base = documentName.isEmpty() ? QStringLiteral("claims")
                                                : QFileInfo(documentName).completeBaseName();
    ExportDialog->setNameFilters({QLatin1String(format.Filter), QStringLiteral("All files (*)")});
    ExportDialog->setDefaultSuffix(QLatin1String(format.Suffix));
    ExportDialog->setDirectory(folder);
    ExportDialog->selectFile(base + QLatin1String(format.NameEnd));
    const QString fileName = TDialogs::ChooseFile(*ExportDialog);
    if (fileName.isEmpty())
        return;
    RememberExportDir(fileName);
    QString error;
    try {
        error = WriteWholeFile(fileName, Bytes(Table));
    } catch (const std::length_error& TooLarge) {
        // A matrix past its size: nothing is written, and the user learns why.
        QString why = QString::fromUtf8(TooLarge.what());
        why[0] = why[0].toUpper();
        error = why + QLatin1Char('.');
    }
    if (!error.isEmpty()) {
        TDialogs::Message(&window,
                          QStringLiteral("Unable to write file\n%1\n%2").arg(fileName, error),
                          QStringLiteral("ERROR"), QMessageBox::Critical, QMessageBox::Ok);
    }
}
