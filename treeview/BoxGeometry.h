#pragma once

// The rhythm of the drawn tree, in pixels of content coordinates.
namespace BoxGeometry {

inline constexpr int FirstRowTop = 10;  // y of the first row
inline constexpr int RootLeft = 20;     // x of a root's row
inline constexpr int LevelIndent = 22;  // each level further right
inline constexpr int ButtonPitch = 23;  // a 13-pixel button and its gap
inline constexpr int LabelGap = 10;     // space after a label
inline constexpr int MemoIndent = 43;   // memo left of the row's start
inline constexpr int MemoRightGap = 25; // memo ends this far short of the pane
inline constexpr int MemoExtraWidth = 20;
inline constexpr int MemoExtraHeight = 5;
inline constexpr int PreviewHeight = 50; // the cut text preview
inline constexpr int TextGap = 10;       // between a row and its shown text
inline constexpr int BoxGap = 20;        // after every shown box
inline constexpr int LineOffset = 6;     // middle of a 13-pixel button
inline constexpr int LinkLength = 21;
inline constexpr int ChildLineTop = 13; // just below the expand button

// A memo narrower than this is given when a box stands so deep that the pane
// leaves no room for its text at all.
inline constexpr int CrampedMemoWidth = 100;

// A box's marks: a bar this far after the caption's last pixel, orange for
// problems above green for a find (colours as 0xAARRGGBB).
inline constexpr int MarkerGap = 3;
inline constexpr int MarkerWidth = 5;
inline constexpr unsigned ProblemMarkColor = 0xffe67800;
inline constexpr unsigned FoundMarkColor = 0xff00aa3c;

// A box's tag: this much room left and right of its words.
inline constexpr int BoxTagPadding = 4;

} // namespace BoxGeometry
