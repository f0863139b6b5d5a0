#pragma once

#include <QObject>
#include <QString>

class QTextDocument;

// A document's raw text, as toRawText gives it, kept up to date from the
// document's changes: reading it costs nothing, however long the text, where
// extracting it again costs tens of milliseconds per megabyte.
class TLiveText : public QObject {
    Q_OBJECT

public:
    explicit TLiveText(QTextDocument& Document);

    // The text now. The copy shares its characters until the next change, so
    // it may be read on another thread while the document changes.
    QString Text();
    // Whether changes are being followed, or the text is extracted when next
    // asked for.
    bool Following() const { return following; }

private:
    void Changed(int Position, int Removed, int Added);

    QTextDocument& document;
    // Without the closing paragraph separator every document has.
    QString text;
    // False until the text is first asked for, and after a change that
    // replaces most of the document: it is extracted once, when asked for.
    bool following = false;
};
