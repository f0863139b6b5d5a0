#include "DraftingTools.h"

#include "ProgramSettings.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

namespace {

const QString AnalyseAsYouTypeKey = QStringLiteral("Drafting/AnalyseAsYouType");

} // namespace

TDraftingTools::TDraftingTools(QMenu& Tools, std::function<void()> Analyse,
                               std::function<void()> AnalyseTyped, std::function<void()> NewDraft)
    : QObject(&Tools), analyse(std::move(Analyse)), analyseTyped(std::move(AnalyseTyped)) {
    AnalyseAgain1 = Tools.addAction(QStringLiteral("&Analyse again"));
    AnalyseAgain1->setObjectName(QStringLiteral("AnalyseAgain1"));
    AnalyseAgain1->setShortcut(QKeySequence(Qt::Key_F5));
    connect(AnalyseAgain1, &QAction::triggered, this,
            [this] { RunHandler([this] { AnalyseAgainClick(); }); });

    AnalyseAsYouType1 = Tools.addAction(QStringLiteral("Analyse as you &type"));
    AnalyseAsYouType1->setObjectName(QStringLiteral("AnalyseAsYouType1"));
    AnalyseAsYouType1->setCheckable(true);
    AnalyseAsYouType1->setChecked(ProgramSettings().value(AnalyseAsYouTypeKey, false).toBool());
    connect(AnalyseAsYouType1, &QAction::triggered, this,
            [this] { RunHandler([this] { AnalyseAsYouTypeClick(); }); });

    NewDraft1 = Tools.addAction(QStringLiteral("New &draft"));
    NewDraft1->setObjectName(QStringLiteral("NewDraft1"));
    connect(NewDraft1, &QAction::triggered, this,
            [NewDraft = std::move(NewDraft)] { RunHandler(NewDraft); });

    tmAnalyse = new QTimer(this);
    tmAnalyse->setObjectName(QStringLiteral("tmAnalyse"));
    tmAnalyse->setSingleShot(true);
    tmAnalyse->setInterval(AnalyseDelay);
    connect(tmAnalyse, &QTimer::timeout, this, [this] { RunHandler(analyseTyped); });
}

void TDraftingTools::TextEdited() {
    if (AnalyseAsYouType1->isChecked())
        tmAnalyse->start();
}

void TDraftingTools::AnalyseAgainClick() {
    tmAnalyse->stop();
    analyse();
}

void TDraftingTools::AnalyseAsYouTypeClick() {
    ProgramSettings().setValue(AnalyseAsYouTypeKey, AnalyseAsYouType1->isChecked());
    if (!AnalyseAsYouType1->isChecked())
        tmAnalyse->stop();
}
