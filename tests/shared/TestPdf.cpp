#include "TestPdf.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>

namespace {

// Sizes in pixels at the writer's 72 dpi, so that a pixel is a point.
QFont Serif(double Size) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(static_cast<int>(Size));
    return font;
}

// Words of Paragraph in lines no wider than Width.
QStringList Wrapped(const QString& Paragraph, double Width, double Size) {
    const QFontMetricsF metrics(Serif(Size));
    QStringList lines;
    QString line;
    for (const QString& word : Paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > Width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

// Where the next printed line goes, and the pages so far.
struct TFlow {
    std::vector<TTestPage> Pages;
    int Page = 0;   // from 0
    int Column = 0; // from 0
    int Line = 1;   // printed line, from 1
};

} // namespace

std::string WriteTestPdf(const std::vector<TTestPage>& Pages) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setCreator(QStringLiteral("Veltrum tests"));
        QPainter painter;
        for (std::size_t p = 0; p < Pages.size(); ++p) {
            const TTestPage& page = Pages[p];
            writer.setPageSize(QPageSize(QSizeF(page.Width, page.Height), QPageSize::Point));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
            if (p == 0)
                painter.begin(&writer);
            else
                writer.newPage();
            if (page.Scanned) {
                constexpr double dpi = 300;
                QImage scan(static_cast<int>(page.Width / 72 * dpi),
                            static_cast<int>(page.Height / 72 * dpi), QImage::Format_Grayscale8);
                scan.fill(Qt::white);
                QPainter onScan(&scan);
                onScan.scale(dpi / 72, dpi / 72);
                for (const TPdfTextLine& line : page.Lines) {
                    onScan.setFont(Serif(line.Size));
                    onScan.drawText(QPointF(line.X, line.Y), line.Text);
                }
                onScan.end();
                painter.drawImage(QRectF(0, 0, page.Width, page.Height), scan);
                continue;
            }
            for (const TPdfTextLine& line : page.Lines) {
                painter.setFont(Serif(line.Size));
                painter.drawText(QPointF(line.X, line.Y), line.Text);
            }
        }
        if (Pages.empty())
            painter.begin(&writer);
        painter.end();
    }
    return bytes.toStdString();
}

std::vector<QString> TestClaims() {
    return {
        QStringLiteral("What is claimed is:"),
        QStringLiteral("1. A pump comprising a housing with an inlet and an outlet, an impeller "
                       "turning in the housing between the inlet and the outlet, a shaft that "
                       "carries the impeller and runs in two bearings held by the housing at "
                       "its ends, a seal between the shaft and the housing on the side of the "
                       "motor, and a motor that drives the shaft at a speed set by a controller "
                       "from the pressure measured at the outlet."),
        QStringLiteral("2. The pump of claim 1, wherein the impeller has seven vanes."),
        QStringLiteral("3. The pump of claim 1 or 2, further comprising a valve at the outlet "
                       "of the housing that closes when the pump stops."),
        QStringLiteral("4. A method of pumping a liquid with the pump of claim 3, comprising "
                       "starting the motor and opening the valve."),
    };
}

namespace {

// Sets the description's paragraphs, then Paragraphs, a blank line after
// each, at the flow's place; Place puts a line on its page, Advance moves on.
template <typename PlaceF, typename AdvanceF, typename HereF>
void SetParagraphs(const std::vector<QString>& Paragraphs, int DescriptionLines, double Width,
                   double Size, TPrintedPdf& Printed, PlaceF&& Place, AdvanceF&& Advance,
                   HereF&& Here) {
    // The description a patent's claims follow fills whole lines, in
    // paragraphs of ten.
    for (int d = 0; d < DescriptionLines; ++d) {
        if (d > 0 && d % 10 == 0) {
            Advance();
            continue;
        }
        const QStringList lines =
            Wrapped(QStringLiteral("The description of the pump tells in its line %1 how the "
                                   "parts work together to move the liquid onward.")
                        .arg(d + 1),
                    Width, Size);
        Place(lines.front());
        Advance();
    }
    if (DescriptionLines > 0)
        Advance();
    for (const QString& paragraph : Paragraphs) {
        const QStringList lines = Wrapped(paragraph, Width, Size);
        for (qsizetype l = 0; l < lines.size(); ++l) {
            if (l == 0)
                Printed.First.push_back(Here());
            if (l == lines.size() - 1)
                Printed.Last.push_back(Here());
            Place(lines[l]);
            Advance();
        }
        Advance();
    }
}

} // namespace

TPrintedPdf GrantPdf(const std::vector<QString>& Paragraphs, int Skip) {
    constexpr double left = 54, columnWidth = 234, gutter = 36, top = 84, pitch = 12;
    constexpr int linesPerColumn = 56;
    TPrintedPdf printed;
    TFlow flow;
    const auto newPage = [&] {
        TTestPage page;
        const int number = static_cast<int>(flow.Pages.size()) + 1;
        page.Lines.push_back({250, 40, QStringLiteral("US 9,876,543 B2"), 10});
        page.Lines.push_back({480, 40, QStringLiteral("Jan. 2, 2024"), 10});
        for (int c = 0; c < 2; ++c)
            page.Lines.push_back({left + c * (columnWidth + gutter) + columnWidth / 2 - 4, 62,
                                  QString::number(2 * number - 1 + c), 10});
        for (int k = 5; k <= linesPerColumn; k += 5)
            page.Lines.push_back(
                {left + columnWidth + 11, top + (k - 1) * pitch, QString::number(k), 7});
        flow.Pages.push_back(std::move(page));
    };
    newPage();
    SetParagraphs(
        Paragraphs, Skip, columnWidth, 10, printed,
        [&](const QString& Line) {
            flow.Pages[static_cast<std::size_t>(flow.Page)].Lines.push_back(
                {left + flow.Column * (columnWidth + gutter), top + (flow.Line - 1) * pitch, Line,
                 10});
        },
        [&] {
            if (++flow.Line <= linesPerColumn)
                return;
            flow.Line = 1;
            if (++flow.Column < 2)
                return;
            flow.Column = 0;
            ++flow.Page;
            newPage();
        },
        [&] {
            return TLineOrigin{flow.Page + 1, 2 * flow.Page + flow.Column + 1, flow.Line};
        });
    printed.Bytes = WriteTestPdf(flow.Pages);
    return printed;
}

TPrintedPdf OneColumnPdf(const std::vector<QString>& Paragraphs, int FirstPage, int Skip) {
    constexpr double left = 70, width = 455, top = 80, pitch = 13;
    constexpr int linesPerPage = 54;
    TPrintedPdf printed;
    TFlow flow;
    const auto newPage = [&] {
        TTestPage page;
        page.Width = 595;
        page.Height = 842;
        page.Lines.push_back({255, 40, QStringLiteral("EP 3 456 789 B1"), 10});
        page.Lines.push_back(
            {292, 812, QString::number(FirstPage + static_cast<int>(flow.Pages.size())), 10});
        for (int k = 5; k <= linesPerPage; k += 5)
            page.Lines.push_back({40, top + (k - 1) * pitch, QString::number(k), 7});
        flow.Pages.push_back(std::move(page));
    };
    newPage();
    SetParagraphs(
        Paragraphs, Skip, width, 11, printed,
        [&](const QString& Line) {
            flow.Pages[static_cast<std::size_t>(flow.Page)].Lines.push_back(
                {left, top + (flow.Line - 1) * pitch, Line, 11});
        },
        [&] {
            if (++flow.Line <= linesPerPage)
                return;
            flow.Line = 1;
            ++flow.Page;
            newPage();
        },
        [&] {
            return TLineOrigin{FirstPage + flow.Page, 0, flow.Line};
        });
    printed.Bytes = WriteTestPdf(flow.Pages);
    return printed;
}
