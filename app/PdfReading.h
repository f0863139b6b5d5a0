#pragma once

// A PDF read off the GUI thread: the window goes on painting, and a reading
// that takes longer than a moment shows its progress, with Cancel.

#include "DocumentReader.h"

#include <optional>
#include <string_view>

class QWidget;

// How long a reading may take before its progress is shown.
inline constexpr int PdfProgressDelayMs = 200;

// Reads Bytes as ReadDocument does with Options, whose Progress it sets, on
// a thread of its own; the progress dialog is a child of Window. Input to the
// window waits until the reading is done. Nothing when the user cancelled.
std::optional<TDocumentRead> ReadInBackground(QWidget& Window, std::string_view Bytes,
                                              TReadOptions Options);
