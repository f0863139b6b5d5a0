#include "PageImages.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <cmath>

namespace {

struct TGeometry {
    double Width, Height;        // points
    double Top, Bottom;          // of the text area
    std::vector<QRectF> Columns; // text columns
};

TGeometry GeometryOf(TPageLayout Layout) {
    if (Layout == TPageLayout::UsGrant) // US letter, gutter for line numbers
        return {612, 792, 72, 740, {QRectF(54, 72, 234, 668), QRectF(324, 72, 234, 668)}};
    if (Layout == TPageLayout::EpPublication) // A4, margin for line numbers
        return {595, 842, 80, 780, {QRectF(90, 80, 440, 700)}};
    return {595, 842, 72, 770, {QRectF(72, 72, 451, 698)}};
}

// Greedy breaking of one source line into lines of at most Width pixels.
QStringList Wrapped(const QString& Line, const QFontMetricsF& Metrics, double Width) {
    QStringList lines;
    QString current;
    for (const QString& word : Line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString tried = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (!current.isEmpty() && Metrics.horizontalAdvance(tried) > Width) {
            lines << current;
            current = word;
        } else {
            current = tried;
        }
    }
    lines << current; // an empty source line stays a blank line
    return lines;
}

} // namespace

std::vector<TRenderedPage> RenderPages(const QString& Text, TPageLayout Layout, double Dpi,
                                       double PointSize) {
    const TGeometry g = GeometryOf(Layout);
    const double px = Dpi / 72.0;
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPointSizeF(PointSize);
    QFont small = font;
    small.setPointSizeF(PointSize * 0.8);
    const double lineHeight = PointSize * 1.35; // points

    // Lines of each column first, then paint page by page.
    QImage probe(8, 8, QImage::Format_Grayscale8);
    probe.setDotsPerMeterX(static_cast<int>(std::lround(Dpi / 0.0254)));
    probe.setDotsPerMeterY(probe.dotsPerMeterX());
    const QFontMetricsF metrics(font, &probe);
    QStringList lines;
    for (const QString& source : Text.split(QLatin1Char('\n')))
        lines << Wrapped(QString(source).remove(QLatin1Char('\r')), metrics,
                         g.Columns.front().width() * px);
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();

    const int perColumn = static_cast<int>((g.Bottom - g.Top) / lineHeight);
    std::vector<TRenderedPage> pages;
    int next = 0;
    int columnNumber = 0;
    while (next < lines.size()) {
        TRenderedPage page;
        page.Width = g.Width;
        page.Height = g.Height;
        page.Columns = g.Columns;
        page.Image =
            QImage(static_cast<int>(std::lround(g.Width * px)),
                   static_cast<int>(std::lround(g.Height * px)), QImage::Format_Grayscale8);
        page.Image.setDotsPerMeterX(probe.dotsPerMeterX());
        page.Image.setDotsPerMeterY(probe.dotsPerMeterY());
        page.Image.fill(Qt::white);
        QPainter painter(&page.Image);
        painter.setPen(Qt::black);
        const int pageNumber = static_cast<int>(pages.size()) + 1;
        painter.setFont(font);
        if (Layout == TPageLayout::UsGrant)
            painter.drawText(QRectF(0, 36 * px, g.Width * px, lineHeight * px), Qt::AlignHCenter,
                             QStringLiteral("US 9,876,543 B2"));
        if (Layout == TPageLayout::EpPublication) {
            painter.drawText(QRectF(0, 40 * px, g.Width * px, lineHeight * px), Qt::AlignHCenter,
                             QStringLiteral("EP 3 456 789 B1"));
            painter.drawText(QRectF(0, 800 * px, g.Width * px, lineHeight * px), Qt::AlignHCenter,
                             QString::number(pageNumber));
        }
        for (const QRectF& column : g.Columns) {
            ++columnNumber;
            if (Layout == TPageLayout::UsGrant) {
                painter.setFont(font);
                painter.drawText(
                    QRectF(column.left() * px, 54 * px, column.width() * px, lineHeight * px),
                    Qt::AlignHCenter, QString::number(columnNumber));
            }
            for (int slot = 0; slot < perColumn && next < lines.size(); ++slot, ++next) {
                const double top = (g.Top + slot * lineHeight) * px;
                painter.setFont(font);
                painter.drawText(QPointF(column.left() * px, top + metrics.ascent()), lines[next]);
                if ((slot + 1) % 5 != 0 || Layout == TPageLayout::Plain)
                    continue;
                // Line numbers: in the gutter between US columns (the left
                // column's), in the left margin on EP pages.
                if (Layout == TPageLayout::UsGrant && column != g.Columns.front())
                    continue;
                const double x = Layout == TPageLayout::UsGrant ? 298 : 60;
                painter.setFont(small);
                painter.drawText(QRectF(x * px, top, 18 * px, lineHeight * px), Qt::AlignHCenter,
                                 QString::number(slot + 1));
            }
        }
        painter.end();
        pages.push_back(std::move(page));
    }
    return pages;
}

TPageImage PageImageOf(const TRenderedPage& Page, double Dpi) {
    TPageImage image;
    image.Pixels = Page.Image.constBits();
    image.Width = Page.Image.width();
    image.Height = Page.Image.height();
    image.BytesPerLine = static_cast<int>(Page.Image.bytesPerLine());
    image.Dpi = Dpi;
    return image;
}
