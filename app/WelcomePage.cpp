#include "WelcomePage.h"

#include <algorithm>

const std::array<QString, WelcomeLineCount>& WelcomeLines() {
    static const std::array<QString, WelcomeLineCount> lines = {
        QStringLiteral("VELTRUM"),
        QStringLiteral(" "),
        QStringLiteral(" Welcome to the Veltrum tool.  It will be useful for you in both analyzing "
                       "existing patents and"),
        QStringLiteral("checking the consistency of a patent document you yourself compose with "
                       "the possibility to edit it."),
        QStringLiteral(" "),
        QStringLiteral("Click 'Open...' in 'File' (Ctrl+O) to read a patent text, or 'Examples' "
                       "to see some useful examples."),
    };
    return lines;
}

QString WelcomeNote() {
    return QStringLiteral("The example text is not editable.");
}

TWelcomePageLayout WelcomePageLayout(int LineHeight, int NoteHeight, int PictureHeight,
                                     int ClientWidth, int ClientHeight) {
    constexpr int half = WelcomeLineCount / 2;
    const int middle = ClientHeight / 2;
    const int pitch = LineHeight + 5;
    TWelcomePageLayout page;
    for (int i = 0; i < WelcomeLineCount; ++i)
        page.Lines[static_cast<std::size_t>(i)] =
            QRect(2, (i - half) * pitch + middle, std::max(0, ClientWidth - 4), LineHeight);
    page.Picture =
        QRect(0, (-half - 1) * pitch + middle - PictureHeight, ClientWidth, PictureHeight);
    page.Note =
        QRect(2, (half + 1) * (NoteHeight + 5) + middle, std::max(0, ClientWidth - 4), NoteHeight);
    return page;
}
