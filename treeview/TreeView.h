#pragma once

// Everything needed to draw a TClaimTree into a TClaimTreePane and act on
// it: the members that ClaimTree.h declares for the drawing are defined by
// this library.

#include "ClaimMemo.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "DottedLine.h"
#include "GlyphButton.h"
#include "ImageList.h"
#include "RedrawLock.h"

#include <QString>
#include <cstdint>

// Boxes that one build pass creates at most (a box costs about 17 kB of
// widgets). Texts made to multiply claims could otherwise ask for millions of
// rows; past the limit the drawing ends with DrawingLimitNotice().
inline constexpr int64_t MaxDrawnBoxes = 50'000;

// The red line that ends a drawing cut after Boxes boxes.
QString DrawingLimitNotice(int64_t Boxes);

// The red line that ends the drawing of a tree whose placing stopped at the
// node limit (TClaimTree::NodeLimitReached) before claim FirstLeftOut.
QString NodeLimitNotice(int32_t FirstLeftOut);

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
