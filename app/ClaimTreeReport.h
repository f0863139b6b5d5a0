#pragma once

#include "ClaimChecks.h"

#include <QString>
#include <vector>

class QPagedPaintDevice;
class TClaimTree;

// What every page of a report names in its header.
struct TReportTitle {
    QString Name;
    QString Number; // empty when the document names none
    QString Date;
    QString Reading;
};

// A claim tree report to attach to a memo: each claim once in an outline,
// then the problems and the fee counts, with a header and "Page N of M" on
// every page. Nothing of the window's buttons.
class TClaimTreeReport {
public:
    TClaimTreeReport(const TClaimTree& Tree, const TClaimChecks& Checks, TReportTitle Title);

    // Lays the report out on Device's pages and paints them; false when a
    // page could not be started.
    bool Paint(QPagedPaintDevice& Device) const;

private:
    // The header's text, as one line.
    QString HeaderText() const;

    struct TLine {
        QString Text;
        QString Note; // after the text, in grey
        int Indent = 0;
        bool Bold = false;
        bool Heading = false;
    };

    TReportTitle title;
    std::vector<TLine> lines;
};
