#pragma once

#include "ExportRows.h"

#include <QLocale>
#include <QObject>
#include <QPageSize>
#include <QString>

class QAction;
class QPrinter;
class QPrintPreviewDialog;
class QMenu;
class QWidget;
class TExportPicture;
class TShownTree;

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
    TTreeExport(TShownTree& Shown, QMenu& Tools, QWidget& Window);

    // The menu items.
    QAction* ExportPdf1;
    QAction* ExportSvg1;
    QAction* ExportPng1;
    QAction* WholeTree1; // checked: exports and prints show every box expanded
    QAction* Print1;
    QAction* PrintPreview1;
    QAction* CopyTreeAsText1;

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

public slots:
    void ExportClick(TFormat Format);
    void PrintClick();
    void PrintPreviewClick();
    void CopyTreeAsTextClick();

private:
    bool WritePdf(const TExportTree& Tree, QIODevice& File);
    bool WriteSvg(const TExportTree& Tree, QIODevice& File);
    bool WritePng(const TExportTree& Tree, QIODevice& File, QString& Error);
    void UpdateEnabled();

    TShownTree& shown;
    QWidget& window;
};
