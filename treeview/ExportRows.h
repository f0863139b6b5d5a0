#pragma once

#include "TreeDrawing.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

class TClaimTree;
class TMemoText;

// One box of an exported picture, as data: what the window's box shows.
struct TExportRow {
    int Depth = 0; // 0 for a root
    int32_t Number = 0;
    int32_t Kind = 0; // 0 independent, 1 one reference, 2 several
    QString Caption;
    QString Dependents; // the children's numbers, each followed by a blank
    TTextMode TextMode = TTextMode::None;
    bool Expanded = false;                 // its children follow as rows
    bool HasChildren = false;              // in the whole tree, shown or not
    unsigned Marks = 0;                    // bits of TBoxMark, as the window shows them
    std::shared_ptr<const TMemoText> Text; // set when TextMode is not 0
};

// What an export shows: lines above the tree, the boxes, and red notices
// below them (limits that cut the tree).
struct TExportTree {
    QStringList Heading;
    std::vector<TExportRow> Rows;
    TBranchMode BranchMode = TBranchMode::AllBranches;
    QStringList Notices;
};

// The boxes as the drawing shows them now: expanded boxes, shown texts, the
// branch view and the tab's root; at most MaxRows rows, a notice saying so
// when there are more, or when the drawing itself was cut.
TExportTree ShownExportTree(const TTreeDrawing& Drawing, int64_t MaxRows);

// Every node of the whole tree, expanded, texts hidden; at most MaxRows rows,
// a notice saying so when the tree is larger.
TExportTree WholeExportTree(const TClaimTree& Tree, int64_t MaxRows);

// The rows as an indented outline: one caption a line, two blanks a level.
QString OutlineText(const TExportTree& Tree);
