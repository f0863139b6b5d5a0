#pragma once

#include "ClaimChecks.h"
#include "ClaimTree.h"
#include "DocumentFile.h"

#include <QObject>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QThread;

// What the window shows of one text: its tree, the other reading for the
// notice, and the checks.
struct TAnalysis {
    std::string Text; // the bytes read
    std::unique_ptr<TClaimTree> Tree;
    // The other reading; none when no notice is shown (the built-in examples).
    std::unique_ptr<TClaimTree> Other;
    // Checks holds Tree's problems and fees; false when they were not wanted.
    bool Checked = false;
    TClaimChecks Checks;
};

// Everything an analysis reads, copied, so that it runs on any thread.
struct TAnalysisOrder {
    QString Shown; // the pane's raw text
    TDocumentFormat Format;
    TReading Reading = TReading::Standard;
    bool Notice = true;
    bool Checks = true;
};

// The bytes the analysis reads for the pane's text, those AnalysedDocumentText
// gives, in one pass over the text instead of one per character replaced.
std::string AnalysedPaneText(QStringView Shown, const TDocumentFormat& Format);

// Analyses the text of an order: what the window's own analysis does,
// without touching the window.
TAnalysis AnalyseOrder(const TAnalysisOrder& Order);

// Runs analyses on a thread of their own, one at a time, and hands back only
// the result of the latest order: one started after it, or a Drop, makes it
// stale and it is never shown.
class TAnalysisRunner : public QObject {
    Q_OBJECT

public:
    // Done runs on this object's thread with each current result.
    TAnalysisRunner(std::function<void(TAnalysis)> Done, QObject* Parent);
    // Waits for the analysis under way, whose result is dropped.
    ~TAnalysisRunner() override;

    // Analyses Order once the analysis under way, if any, has finished; an
    // order still waiting is replaced.
    void Start(TAnalysisOrder Order);
    // What has been ordered is stale: the text or the way of reading it
    // has changed since.
    void Drop();
    bool Busy() const { return thread != nullptr; }

private:
    struct TJob;
    void Run(TAnalysisOrder Order);
    void Finished();

    std::function<void(TAnalysis)> done;
    uint64_t generation = 0;
    QThread* thread = nullptr;
    std::shared_ptr<TJob> job;
    std::optional<TAnalysisOrder> waiting;
};
