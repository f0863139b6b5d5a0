#include "ClaimTreeReport.h"

#include "ClaimOutline.h"
#include "ClaimTree.h"
#include "ProblemsPanel.h"
#include "Report.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <memory>
#include <utility>

namespace {

// Deeper levels keep this indent and say their level: a chain of a hundred
// claims would otherwise run off the page.
constexpr int MaxIndent = 12;

const QString Separator = QStringLiteral("  \u00b7  ");

QFont ReportFont(qreal Points, bool Bold = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(Points);
    font.setBold(Bold);
    return font;
}

// A text line of a laid-out report line, placed on a page.
struct TPlaced {
    std::size_t Layout;
    int Line;
    int Page;
    qreal X;
    qreal Y;
};

} // namespace

TClaimTreeReport::TClaimTreeReport(const TClaimTree& Tree, const TClaimChecks& Checks,
                                   TReportTitle Title)
    : title(std::move(Title)) {
    lines.push_back({QStringLiteral("Claims"), {}, 0, true, true});
    lines.push_back({QString::fromStdString(ClaimCountsText(Tree)), {}, 0, false, false});
    for (const TOutlineEntry& entry : ClaimOutline(Tree)) {
        TLine line;
        line.Indent = entry.Depth;
        line.Text = QStringLiteral("Claim %1").arg(entry.Number);
        if (entry.Depth > MaxIndent)
            line.Text = QStringLiteral("(level %1) ").arg(entry.Depth) + line.Text;
        line.Bold = Tree.Claims[entry.ClaimIndex].Kind == TClaimKind::Independent;
        if (entry.Unattached) {
            line.Note = QStringLiteral("refers to no claim of the set");
        } else {
            line.Note = QString::fromStdString(AlsoDependsText(entry.OtherParents));
            if (entry.MoreParents)
                line.Note += QStringLiteral(" and more");
        }
        lines.push_back(std::move(line));
    }
    lines.push_back({QStringLiteral("Problems"), {}, 0, true, true});
    if (Checks.Problems.empty())
        lines.push_back({QStringLiteral("No problems found."), {}, 0, false, false});
    for (const TClaimProblem& problem : Checks.Problems) {
        QString text = QStringLiteral("Claim %1").arg(problem.Claim);
        if (problem.Line > 0)
            text += QStringLiteral(", line %1").arg(problem.Line);
        text += QStringLiteral(", %1: ").arg(QLatin1String(SeverityName(problem.Severity)));
        text += QString::fromStdString(problem.Message);
        lines.push_back({text, {}, 0, false, false});
    }
    lines.push_back({QStringLiteral("Fee counts"), {}, 0, true, true});
    lines.push_back({TProblemsPanel::FeesText(Checks.Fees), {}, 0, false, false});
}

QString TClaimTreeReport::HeaderText() const {
    QString text = title.Name;
    if (!title.Number.isEmpty())
        text += Separator + title.Number;
    return text + Separator + title.Date + Separator + title.Reading;
}

bool TClaimTreeReport::Paint(QPagedPaintDevice& Device) const {
    QPainter painter;
    if (!painter.begin(&Device))
        return false;
    const QFont body = ReportFont(10);
    const QFont heading = ReportFont(12, true);
    const QFont small = ReportFont(8);
    const qreal width = Device.width();
    const qreal height = Device.height();
    const qreal dpi = Device.logicalDpiY();
    const qreal indent = dpi * 0.2;
    const QFontMetricsF smallMetrics(small, &Device);
    const qreal headerBottom = smallMetrics.height() * 2;
    const qreal bodyTop = headerBottom + smallMetrics.height();
    const qreal bodyBottom = height - smallMetrics.height() * 2.5;

    // Each line is laid out once; its text lines are placed one by one, so
    // that a long list breaks between pages rather than running off one.
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    layouts.reserve(lines.size());
    std::vector<TPlaced> placed;
    int page = 0;
    qreal y = bodyTop;
    QTextOption wrap;
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const TLine& line : lines) {
        QFont font = line.Heading ? heading : body;
        font.setBold(line.Bold);
        const QString text = line.Note.isEmpty() ? line.Text : line.Text + Separator + line.Note;
        auto layout = std::make_unique<QTextLayout>(text, font, &Device);
        if (!line.Note.isEmpty()) {
            QTextLayout::FormatRange note;
            note.start = static_cast<int>(line.Text.size());
            note.length = static_cast<int>(text.size() - line.Text.size());
            note.format.setForeground(QColor(90, 90, 90));
            note.format.setFontWeight(QFont::Normal);
            layout->setFormats({note});
        }
        layout->setTextOption(wrap);
        const qreal x = indent * std::min(line.Indent, MaxIndent);
        if (line.Heading && y > bodyTop)
            y += QFontMetricsF(heading, &Device).height() * 0.6;
        layout->beginLayout();
        for (QTextLine part = layout->createLine(); part.isValid(); part = layout->createLine()) {
            part.setLineWidth(std::max(width - x, indent));
            part.setPosition(QPointF(0, 0));
            // A heading keeps its first entry on its page.
            const qreal needed = part.height() * (line.Heading ? 2.5 : 1);
            if (y + needed > bodyBottom && y > bodyTop) {
                ++page;
                y = bodyTop;
            }
            placed.push_back({layouts.size(), part.lineNumber(), page, x, y});
            y += part.height();
        }
        layout->endLayout();
        layouts.push_back(std::move(layout));
    }

    const int pages = page + 1;
    // A long file name gives way; the number, date and reading never do.
    const QString tail = HeaderText().mid(title.Name.size());
    const QString header =
        smallMetrics.elidedText(title.Name, Qt::ElideMiddle,
                                std::max(width - smallMetrics.horizontalAdvance(tail), width / 4)) +
        tail;
    auto next = placed.begin();
    for (page = 0; page < pages; ++page) {
        if (page > 0 && !Device.newPage())
            return false;
        painter.setFont(small);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, 0, width, headerBottom), Qt::AlignLeft | Qt::AlignTop, header);
        painter.setPen(QPen(Qt::gray, dpi / 100));
        painter.drawLine(QPointF(0, headerBottom - smallMetrics.descent()),
                         QPointF(width, headerBottom - smallMetrics.descent()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, height - smallMetrics.height(), width, smallMetrics.height()),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages));
        for (; next != placed.end() && next->Page == page; ++next)
            layouts[next->Layout]->lineAt(next->Line).draw(&painter, QPointF(next->X, next->Y));
    }
    return painter.end();
}
