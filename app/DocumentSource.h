#pragma once

#include <QString>
#include <string>

// The document behind the tree, as an export names and reads it.
class TDocumentSource {
public:
    virtual ~TDocumentSource() = default;
    // The name Save writes to; empty for a new draft.
    virtual QString FileName() const = 0;
    // The bytes the last analysis read.
    virtual const std::string& AnalysedText() const = 0;
    // The window's caption for the document, without the mark of unsaved
    // changes: paper shows what the document is, not the state of the editor.
    virtual QString Caption() const = 0;
};
