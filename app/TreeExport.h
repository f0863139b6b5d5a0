#pragma once

#include "ExportRows.h"

#include <QLocale>
#include <QObject>
#include <QPageSize>
#include <QString>
#include <cstdint>

class QAction;
class QPagedPaintDevice;
class QPrinter;
class QPrintPreviewDialog;
class QMenu;
class QWidget;
class TExportPicture;
class TDocumentSource;
class TShownTree;
struct TReportTitle;

// Letter where it is the usual paper (the Americas that use it, the
// Philippines), A4 elsewhere.
QPageSize LocalePageSize(const QLocale& Locale);

// The tree leaving the window: export to PDF, SVG and PNG, printing, and
// the outline on the clipboard. Adds its items to the Tools menu.
class TTreeExport : public QObject {
    Q_OBJECT

public:
    enum class TFormat { Pdf, Svg, Png };

    // Adds the items to Tools; Window owns the dialogs and takes the print key.
    TTreeExport(TShownTree& Shown, const TDocumentSource& Document, QMenu& Tools, QWidget& Window);

    // Boxes a whole-tree export holds at most: some hundred pages, written
    // in seconds. Past it nobody reads the pages; the claim tree report
    // lists each claim once instead.
    static constexpr int64_t MaxWholeTreeBoxes = 3000;

    // The menu items.
    QAction* ExportPdf1;
    QAction* ExportSvg1;
    QAction* ExportPng1;
    QAction* WholeTree1; // checked: exports and prints show every box expanded
    QAction* Print1;
    QAction* PrintPreview1;
    QAction* CopyTreeAsText1;
    QAction* ReportPdf1;   // the claim tree report as PDF
    QAction* PrintReport1; // and printed

    // What an export shows now, with the lines above the tree.
    TExportTree CurrentTree() const;

    // Writes the tree to FileName; a file that cannot be written is left
    // out entirely and the user is told. Returns whether it was written.
    bool Export(TFormat Format, const QString& FileName);

    // Prints the tree on Printer, paged as a PDF is.
    bool PrintOn(QPrinter& Printer);

    // A preview of the printed tree on Printer, not yet shown; the caller
    // deletes it.
    QPrintPreviewDialog* NewPreview(QPrinter& Printer);

    // What the report's pages name: the document, its number, today, the reading.
    TReportTitle ReportTitle() const;
    // Writes the claim tree report to FileName, as Export writes a tree.
    bool ExportReport(const QString& FileName);
    bool PrintReportOn(QPrinter& Printer);

public slots:
    void ExportClick(TFormat Format);
    void PrintClick();
    void PrintPreviewClick();
    void CopyTreeAsTextClick();
    void ReportClick();
    void PrintReportClick();

private:
    bool WritePdf(const TExportTree& Tree, QIODevice& File);
    bool WriteSvg(const TExportTree& Tree, QIODevice& File);
    bool WritePng(const TExportTree& Tree, QIODevice& File, QString& Error);
    // Whether a whole-tree export may go ahead; tells the user when not.
    bool WholeTreeFits();
    // Paints Picture on Device's pages, a page at a time with a progress
    // dialog when Whole; Cancelled tells a stop by the user from a failure.
    bool PaintWithProgress(const TExportPicture& Picture, QPagedPaintDevice& Device, bool Whole,
                           bool& Cancelled);
    QString ChooseFileName(const char* Filter, const char* Suffix, const char* Title);

    TShownTree& shown;
    const TDocumentSource& document;
    bool exportCancelled = false;
    QWidget& window;
};
