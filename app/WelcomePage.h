#pragma once

#include <QRect>
#include <QString>
#include <array>

// What the tree pane shows while no claim tree is drawn.
inline constexpr int WelcomeLineCount = 6;

// The centred lines, leading spaces and double spaces as they are.
const std::array<QString, WelcomeLineCount>& WelcomeLines();

// The note below the lines.
QString WelcomeNote();

// Bounds of the page's items in a pane of ClientWidth by ClientHeight, from
// the height of a line, of the note and of the picture. The lines are stacked
// with a pitch of LineHeight + 5 around the pane's vertical middle; the
// picture ends one pitch above the first line, the note starts one pitch
// (of its own height) below the last.
struct TWelcomePageLayout {
    std::array<QRect, WelcomeLineCount> Lines;
    QRect Picture;
    QRect Note;
};

TWelcomePageLayout WelcomePageLayout(int LineHeight, int NoteHeight, int PictureHeight,
                                     int ClientWidth, int ClientHeight);
