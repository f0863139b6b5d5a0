#include "DocumentChoice.h"

#include "ProgramSettings.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>

namespace {
const QString OriginalTextKey = QStringLiteral("Documents/OriginalText");
}

TDocumentChoice::TDocumentChoice(QMenu& File, QAction* Before, QMenu& Tools, QWidget& Window,
                                 std::function<void()> ReadAgain)
    : QObject(&Window), readAgain(std::move(ReadAgain)) {
    mnuDocuments = new QMenu(QStringLiteral("Documents in this file"), &File);
    File.insertMenu(Before, mnuDocuments);
    mnuDocuments->setObjectName(QStringLiteral("mnuDocuments"));
    mnuDocuments->setEnabled(false);
    mnuLanguages = Tools.addMenu(QStringLiteral("Claims language"));
    mnuLanguages->setObjectName(QStringLiteral("mnuLanguages"));
    mnuLanguages->setEnabled(false);
    OriginalText1 = Tools.addAction(QStringLiteral("Read Tracked Changes as &Original Text"));
    OriginalText1->setObjectName(QStringLiteral("OriginalText1"));
    OriginalText1->setCheckable(true);
    OriginalText1->setChecked(ProgramSettings().value(OriginalTextKey, false).toBool());
    connect(OriginalText1, &QAction::triggered, this, [this] {
        ProgramSettings().setValue(OriginalTextKey, OriginalText1->isChecked());
        // Only Word and OpenDocument files track changes.
        if (format == QLatin1String("docx") || format == QLatin1String("odt"))
            readAgain();
    });
}

bool TDocumentChoice::OriginalText() const {
    return OriginalText1->isChecked();
}

void TDocumentChoice::NewFile() {
    Index = 0;
    Language.clear();
    Show({});
}

void TDocumentChoice::Show(const TDocumentRead& Read) {
    format = Read.Format;
    Links.clear();
    mnuDocuments->clear();
    mnuLanguages->clear();
    const auto checked = [this](QMenu* Menu, const QString& Text, bool Current,
                                std::function<void()> Choose) {
        QAction* item = Menu->addAction(Text);
        item->setCheckable(true);
        item->setChecked(Current);
        connect(item, &QAction::triggered, this, [this, Choose = std::move(Choose)] {
            Choose();
            readAgain();
        });
    };
    const std::vector<TReadDocument>& documents = Read.Documents;
    for (std::size_t i = 0; documents.size() > 1 && i < documents.size(); ++i) {
        const TReadDocument& document = documents[i];
        QString text =
            document.Number.isEmpty() ? QStringLiteral("Document %1").arg(i + 1) : document.Number;
        if (!document.Title.isEmpty())
            text += QStringLiteral(" \u2013 ") + document.Title;
        checked(mnuDocuments, text, static_cast<int>(i) == Index, [this, i] {
            Index = static_cast<int>(i);
            Language.clear();
        });
    }
    mnuDocuments->setEnabled(documents.size() > 1);
    const bool inRange = Index >= 0 && static_cast<std::size_t>(Index) < documents.size();
    // The document read: one out of range reads as the first.
    if (!documents.empty())
        for (const TClaimLink& link :
             documents[inRange ? static_cast<std::size_t>(Index) : 0].Links)
            Links.push_back({link.From, link.To});
    if (inRange && documents[static_cast<std::size_t>(Index)].ClaimsBlocks.size() > 1) {
        const TReadDocument& document = documents[static_cast<std::size_t>(Index)];
        for (const TClaimsBlock& block : document.ClaimsBlocks) {
            const QString language = block.Language;
            checked(mnuLanguages, language.isEmpty() ? QStringLiteral("(unmarked)") : language,
                    language == document.Language, [this, language] { Language = language; });
        }
    }
    mnuLanguages->setEnabled(!mnuLanguages->isEmpty());
}
