#pragma once

// Everything needed to draw a TClaimTree into a TClaimTreePane and act on
// it: the drawing (TTreeDrawing) keeps the view state and the widgets.

#include "ClaimMemo.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "DottedLine.h"
#include "GlyphButton.h"
#include "HandlerRunner.h"
#include "ImageList.h"
#include "RedrawLock.h"
#include "TreeDrawing.h"

#include <QString>
#include <cstdint>
#include <vector>

// Rows that one drawing lays out at most. Only the rows near the view have
// widgets, so every created node can have its row; the limit is a safety net
// for the row data, past which the drawing ends with DrawingLimitNotice().
inline constexpr int64_t MaxDrawnBoxes = TClaimTree::MaxCreatedNodes;

// The red line that ends a drawing cut after Boxes boxes.
QString DrawingLimitNotice(int64_t Boxes);

// The red line that ends the drawing of a tree whose placing stopped at the
// node limit (TClaimTree::NodeLimitReached) before claim FirstLeftOut.
QString NodeLimitNotice(int32_t FirstLeftOut);

// Each claim's category as its caption's tool tip says it, by claim index:
// "Method claim", "Method claim, referring to apparatus claim 1".
std::vector<QString> CategoryHints(const TClaimTree& Tree);

// The red line that ends a drawing in which claim Number could not be opened
// further, because its children would pass the node limit.
QString RefusedClaimNotice(int32_t Number);

// The two lines of the empty-document notice.
inline constexpr const char* NoClaimsNotice = "The document has no claims.";
inline constexpr const char* CheckInputNotice = "Please check you input.";

// Tool tips of a box's buttons.
inline constexpr const char* ExpandHint = "Show/hide dependent claims";
inline constexpr const char* ShowTextHint = "Show claim";
inline constexpr const char* HideTextHint = "Hide claim";
inline constexpr const char* ShowBranchHint = "Show branch";
inline constexpr const char* ShowAllHint = "Show all";
inline constexpr const char* DecomposeHint = "Decompose";
