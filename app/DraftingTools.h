#pragma once

#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QTimer;

// The Tools menu's drafting commands: analyse the edited text again (F5),
// or by itself once typing has paused (remembered), and start a new draft.
class TDraftingTools : public QObject {
    Q_OBJECT

public:
    // Adds the items to Tools. Analyse analyses the edited text and
    // AnalyseTyped does once typing has paused; NewDraft starts an empty one.
    TDraftingTools(QMenu& Tools, std::function<void()> Analyse, std::function<void()> AnalyseTyped,
                   std::function<void()> NewDraft);

    QAction* AnalyseAgain1;
    QAction* AnalyseAsYouType1;
    QAction* NewDraft1;
    // Runs the analysis once typing has paused.
    QTimer* tmAnalyse;
    static constexpr int AnalyseDelay = 500; // ms after the last change

    // The user changed the text.
    void TextEdited();
    void AnalyseAgainClick();

private:
    void AnalyseAsYouTypeClick();

    std::function<void()> analyse;
    std::function<void()> analyseTyped;
};
