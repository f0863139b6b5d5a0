#include "TreeExport.h"

#include "BusyCursor.h"
#include "ClaimChecks.h"
#include "ClaimOutline.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "ClaimTreeReport.h"
#include "Dialogs.h"
#include "DocumentPlaces.h"
#include "DocumentSource.h"
#include "ExportRenderer.h"
#include "ProgramSettings.h"
#include "ShownTree.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QSaveFile>
#include <QScreen>
#include <optional>

namespace {

const QString WholeTreeKey = QStringLiteral("Export/WholeTree");

// A PNG larger than this many pixels would take hundreds of megabytes.
constexpr qint64 MaxPngPixels = 100'000'000;

const QMarginsF PageMargins(15, 15, 15, 15);

struct TFormatInfo {
    const char* Filter;
    const char* Suffix;
    const char* Title;
};

TFormatInfo Info(TTreeExport::TFormat Format) {
    switch (Format) {
    case TTreeExport::TFormat::Pdf:
        return {"PDF documents (*.pdf)", "pdf", "Export Tree as PDF"};
    case TTreeExport::TFormat::Svg:
        return {"SVG pictures (*.svg)", "svg", "Export Tree as SVG"};
    case TTreeExport::TFormat::Png:
        break;
    }
    return {"PNG pictures (*.png)", "png", "Export Tree as PNG"};
}

} // namespace

QPageSize LocalePageSize(const QLocale& Locale) {
    switch (Locale.territory()) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
    case QLocale::Mexico:
    case QLocale::Chile:
    case QLocale::Colombia:
    case QLocale::CostaRica:
    case QLocale::Guatemala:
    case QLocale::Panama:
    case QLocale::Philippines:
    case QLocale::PuertoRico:
    case QLocale::Venezuela:
        return QPageSize(QPageSize::Letter);
    default:
        return QPageSize(QPageSize::A4);
    }
}

TTreeExport::TTreeExport(TShownTree& Shown, const TDocumentSource& Document, QMenu& Tools,
                         QWidget& Window)
    : QObject(&Window), shown(Shown), document(Document), window(Window) {
    QMenu* tools = &Tools;
    const auto addItem = [this, tools](const char* Name, const QString& Caption) {
        QAction* item = tools->addAction(Caption);
        item->setObjectName(QLatin1String(Name));
        item->setParent(this);
        return item;
    };
    QMenu* exportMenu = tools->addMenu(QStringLiteral("&Export Tree"));
    exportMenu->setObjectName(QStringLiteral("mnuExportTree"));
    const auto addExport = [this, exportMenu](const char* Name, const QString& Caption,
                                              TFormat Format) {
        QAction* item = exportMenu->addAction(Caption);
        item->setObjectName(QLatin1String(Name));
        connect(item, &QAction::triggered, this,
                [this, Format] { RunHandler([this, Format] { ExportClick(Format); }); });
        return item;
    };
    ExportPdf1 = addExport("ExportPdf1", QStringLiteral("&PDF..."), TFormat::Pdf);
    ExportSvg1 = addExport("ExportSvg1", QStringLiteral("&SVG..."), TFormat::Svg);
    ExportPng1 = addExport("ExportPng1", QStringLiteral("P&NG..."), TFormat::Png);
    ReportPdf1 = exportMenu->addAction(QStringLiteral("Claim Tree &Report (PDF)..."));
    ReportPdf1->setObjectName(QStringLiteral("ReportPdf1"));
    connect(ReportPdf1, &QAction::triggered, this,
            [this] { RunHandler([this] { ReportClick(); }); });
    exportMenu->addSeparator();
    WholeTree1 = exportMenu->addAction(QStringLiteral("&Whole Tree, Every Box Expanded"));
    WholeTree1->setObjectName(QStringLiteral("WholeTree1"));
    WholeTree1->setCheckable(true);
    WholeTree1->setChecked(ProgramSettings().value(WholeTreeKey, false).toBool());
    connect(WholeTree1, &QAction::toggled, this,
            [](bool Whole) { ProgramSettings().setValue(WholeTreeKey, Whole); });

    Print1 = addItem("Print1", QStringLiteral("&Print Tree..."));
    Print1->setShortcut(QKeySequence::Print);
    PrintPreview1 = addItem("PrintPreview1", QStringLiteral("Print Pre&view..."));
    PrintReport1 = addItem("PrintReport1", QStringLiteral("Print Claim Tree Re&port..."));
    connect(PrintReport1, &QAction::triggered, this,
            [this] { RunHandler([this] { PrintReportClick(); }); });
    CopyTreeAsText1 = addItem("CopyTreeAsText1", QStringLiteral("&Copy Tree as Text"));
    connect(Print1, &QAction::triggered, this, [this] { RunHandler([this] { PrintClick(); }); });
    connect(PrintPreview1, &QAction::triggered, this,
            [this] { RunHandler([this] { PrintPreviewClick(); }); });
    connect(CopyTreeAsText1, &QAction::triggered, this,
            [this] { RunHandler([this] { CopyTreeAsTextClick(); }); });
    // The print key works from anywhere in the window.
    Window.addAction(Print1);
}

TExportTree TTreeExport::CurrentTree() const {
    const TClaimTree* tree = shown.Tree();
    if (tree == nullptr)
        return {};
    const bool whole = WholeTree1->isChecked();
    TExportTree exported = shown.ExportRows(whole);
    for (TExportRow& row : exported.Rows)
        row.Marks = shown.BoxMarks(row.Number);
    exported.Heading << window.windowTitle() << shown.CountsText()
                     << (tree->Reading == TReading::Lenient ? QStringLiteral("Lenient reading")
                                                            : QStringLiteral("Standard reading"));
    if (whole)
        exported.Heading << QStringLiteral("The whole tree, every box expanded");
    for (const TClaimProblem& problem : CheckClaims(*tree)) {
        QString line = QStringLiteral("Claim %1").arg(problem.Claim);
        if (problem.Line > 0)
            line += QStringLiteral(", line %1").arg(problem.Line);
        line += QStringLiteral(": ") + QString::fromStdString(problem.Message);
        exported.Heading << line;
    }
    return exported;
}

bool TTreeExport::WholeTreeFits() {
    const TClaimTree* tree = shown.Tree();
    if (tree == nullptr || !WholeTree1->isChecked())
        return true;
    // Past the node limit the export holds the created nodes, as far as they go.
    const int64_t boxes = tree->NodeLimitReached ? tree->CreatedNodeCount() : tree->FullNodeCount;
    if (boxes <= MaxWholeTreeBoxes)
        return true;
    const QLocale locale;
    // A saturated count is no number to show.
    const QString count =
        boxes == SaturatedCount
            ? QStringLiteral("more than %1").arg(locale.toString(MaxWholeTreeBoxes))
            : locale.toString(boxes);
    TDialogs::Message(
        &window,
        QStringLiteral("The whole tree, every box expanded, has %1 boxes; an export of it holds "
                       "at most %2 (up to about a hundred pages).\n"
                       "Export the tree as shown, or the claim tree report, which lists each "
                       "claim once.")
            .arg(count, locale.toString(MaxWholeTreeBoxes)),
        QStringLiteral("Export Tree"), QMessageBox::Warning, QMessageBox::Ok);
    return false;
}

bool TTreeExport::PaintWithProgress(const TExportPicture& Picture, QPagedPaintDevice& Device,
                                    bool Whole, bool& Cancelled) {
    Cancelled = false;
    if (!Whole)
        return PaintPages(Picture, Device);
    // A page at a time, the window answering between pages: Cancel stops
    // within a page.
    QProgressDialog progress(QStringLiteral("Writing the whole tree..."), QStringLiteral("Cancel"),
                             0, 1, &window);
    progress.setObjectName(QStringLiteral("ExportProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const bool painted = PaintPages(Picture, Device, [&progress](int Page, int Pages) {
        progress.setMaximum(Pages);
        progress.setValue(Page);
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
    Cancelled = progress.wasCanceled();
    return painted && !Cancelled;
}

bool TTreeExport::WritePdf(const TExportTree& Tree, QIODevice& File) {
    QPdfWriter writer(&File);
    writer.setCreator(QStringLiteral("Veltrum"));
    writer.setTitle(window.windowTitle());
    writer.setPageSize(LocalePageSize(QLocale::system()));
    writer.setPageMargins(PageMargins, QPageLayout::Millimeter);
    const TExportPicture picture(Tree, PageTextRoom(writer));
    bool cancelled = false;
    const bool written = PaintWithProgress(picture, writer, WholeTree1->isChecked(), cancelled);
    exportCancelled = cancelled;
    return written;
}

bool TTreeExport::WriteSvg(const TExportTree& Tree, QIODevice& File) {
    const TExportPicture picture(Tree, shown.DrawingWidth());
    return picture.WriteSvg(File, window.windowTitle());
}

bool TTreeExport::WritePng(const TExportTree& Tree, QIODevice& File, QString& Error) {
    const TExportPicture picture(Tree, shown.DrawingWidth());
    const QScreen* screen = window.screen();
    const double scale = 2 * (screen != nullptr ? screen->devicePixelRatio() : 1.0);
    const QSize size = (QSizeF(picture.Size()) * scale).toSize();
    if (static_cast<qint64>(size.width()) * size.height() > MaxPngPixels) {
        Error = QStringLiteral("The tree is too large for a PNG picture (%1 x %2 pixels).\n"
                               "Export it as PDF or SVG instead.")
                    .arg(size.width())
                    .arg(size.height());
        return false;
    }
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.scale(scale, scale);
        picture.Paint(painter, 0, picture.Size().height());
    }
    return image.save(&File, "PNG");
}

bool TTreeExport::Export(TFormat Format, const QString& FileName) {
    if (!WholeTreeFits())
        return false;
    std::optional<TBusyCursor> busy;
    // The progress dialog's Cancel must not look busy.
    if (!WholeTree1->isChecked() || Format != TFormat::Pdf)
        busy.emplace();
    exportCancelled = false;
    const TExportTree tree = CurrentTree();
    QSaveFile file(FileName);
    QString error;
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        switch (Format) {
        case TFormat::Pdf:
            written = WritePdf(tree, file);
            break;
        case TFormat::Svg:
            written = WriteSvg(tree, file);
            break;
        case TFormat::Png:
            written = WritePng(tree, file, error);
            break;
        }
    }
    // Nothing of a failed export is left behind: the file stays as it was.
    // commit() misses a failure of the final flush (a full disk).
    written = written && file.flush() && file.commit();
    busy.reset();
    if (!written) {
        file.cancelWriting();
        // Stopped by the user: nothing to tell.
        if (exportCancelled)
            return false;
        if (error.isEmpty())
            error = QStringLiteral("Unable to write file\n") + QDir::toNativeSeparators(FileName);
        TDialogs::Message(&window, error, QStringLiteral("ERROR"), QMessageBox::Critical,
                          QMessageBox::Ok);
    }
    return written;
}

void TTreeExport::ExportClick(TFormat Format) {
    if (shown.Tree() == nullptr)
        return;
    // Refused before the user picks a name, not after.
    if (!WholeTreeFits())
        return;
    const TFormatInfo info = Info(Format);
    const QString fileName = ChooseFileName(info.Filter, info.Suffix, info.Title);
    if (!fileName.isEmpty())
        Export(Format, fileName);
}

QString TTreeExport::ChooseFileName(const char* Filter, const char* Suffix, const char* Title) {
    TSaveFileDialog dialog(&window);
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.setWindowTitle(QString::fromLatin1(Title));
    dialog.setNameFilter(QString::fromLatin1(Filter));
    dialog.setDefaultSuffix(QString::fromLatin1(Suffix));
    dialog.setDirectory(ExportDialogStartDir(QDir::homePath()));
    const QString fileName = TDialogs::ChooseFile(dialog);
    if (!fileName.isEmpty())
        RememberExportDir(fileName);
    return fileName;
}

bool TTreeExport::PrintOn(QPrinter& Printer) {
    const TExportPicture picture(CurrentTree(), PageTextRoom(Printer));
    return PaintPages(picture, Printer);
}

QPrintPreviewDialog* TTreeExport::NewPreview(QPrinter& Printer) {
    auto* preview = new QPrintPreviewDialog(&Printer, &window);
    preview->setObjectName(QStringLiteral("PrintPreviewDialog"));
    connect(preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* Shown) { RunHandler([this, Shown] { PrintOn(*Shown); }); });
    return preview;
}

void TTreeExport::PrintClick() {
    if (shown.Tree() == nullptr)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(LocalePageSize(QLocale::system()));
    printer.setPageMargins(PageMargins, QPageLayout::Millimeter);
    if (!WholeTreeFits())
        return;
    QPrintDialog dialog(&printer, &window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TExportPicture picture(CurrentTree(), PageTextRoom(printer));
    bool cancelled = false;
    const bool printed = PaintWithProgress(picture, printer, WholeTree1->isChecked(), cancelled);
    if (cancelled) {
        printer.abort();
        return;
    }
    if (!printed) {
        TDialogs::Message(&window, QStringLiteral("Unable to print the tree."),
                          QStringLiteral("ERROR"), QMessageBox::Critical, QMessageBox::Ok);
    }
}

void TTreeExport::PrintPreviewClick() {
    if (shown.Tree() == nullptr)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(LocalePageSize(QLocale::system()));
    printer.setPageMargins(PageMargins, QPageLayout::Millimeter);
    if (!WholeTreeFits())
        return;
    QPrintPreviewDialog* preview = NewPreview(printer);
    preview->exec();
    delete preview;
}

void TTreeExport::CopyTreeAsTextClick() {
    if (shown.Tree() == nullptr)
        return;
    const TExportTree tree = shown.ExportRows(false);
    QGuiApplication::clipboard()->setText(OutlineText(tree));
}

TReportTitle TTreeExport::ReportTitle() const {
    TReportTitle title;
    const QString fileName = document.FileName();
    if (!fileName.isEmpty()) {
        title.Name = QFileInfo(fileName).fileName();
    } else {
        // A new draft: the window's title without the program's name.
        const QString caption = window.windowTitle();
        const qsizetype dash = caption.indexOf(QStringLiteral(" - "));
        title.Name = dash >= 0 ? caption.mid(dash + 3) : QStringLiteral("Untitled");
    }
    title.Number = QString::fromStdString(FindDocumentNumber(document.AnalysedText()));
    title.Date = QLocale().toString(QDate::currentDate(), QLocale::LongFormat);
    const TClaimTree* tree = shown.Tree();
    title.Reading = tree != nullptr && tree->Reading == TReading::Lenient
                        ? QStringLiteral("Lenient reading")
                        : QStringLiteral("Standard reading");
    return title;
}

bool TTreeExport::PrintReportOn(QPrinter& Printer) {
    const TClaimTree* tree = shown.Tree();
    if (tree == nullptr)
        return false;
    return TClaimTreeReport(*tree, CheckAndCountFees(*tree), ReportTitle()).Paint(Printer);
}

bool TTreeExport::ExportReport(const QString& FileName) {
    const TClaimTree* tree = shown.Tree();
    if (tree == nullptr)
        return false;
    std::optional<TBusyCursor> busy(std::in_place);
    QSaveFile file(FileName);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        const TReportTitle title = ReportTitle();
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Veltrum"));
        writer.setTitle(QStringLiteral("Claim tree report: ") + title.Name);
        writer.setPageSize(LocalePageSize(QLocale::system()));
        writer.setPageMargins(PageMargins, QPageLayout::Millimeter);
        written = TClaimTreeReport(*tree, CheckAndCountFees(*tree), title).Paint(writer);
    }
    written = written && file.flush() && file.commit();
    busy.reset();
    if (!written) {
        file.cancelWriting();
        TDialogs::Message(
            &window, QStringLiteral("Unable to write file\n") + QDir::toNativeSeparators(FileName),
            QStringLiteral("ERROR"), QMessageBox::Critical, QMessageBox::Ok);
    }
    return written;
}

void TTreeExport::ReportClick() {
    if (shown.Tree() == nullptr)
        return;
    const QString fileName =
        ChooseFileName("PDF documents (*.pdf)", "pdf", "Export Claim Tree Report");
    if (!fileName.isEmpty())
        ExportReport(fileName);
}

void TTreeExport::PrintReportClick() {
    if (shown.Tree() == nullptr)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(LocalePageSize(QLocale::system()));
    printer.setPageMargins(PageMargins, QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, &window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    bool printed = false;
    {
        const TBusyCursor busy;
        printed = PrintReportOn(printer);
    }
    if (!printed) {
        TDialogs::Message(&window, QStringLiteral("Unable to print the report."),
                          QStringLiteral("ERROR"), QMessageBox::Critical, QMessageBox::Ok);
    }
}
