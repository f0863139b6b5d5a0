#pragma once

#include "ClaimChecks.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <vector>

// The problems the user dismissed, per document: kept in the settings under
// the document's path, never in its text. A problem is known by its kind,
// claim and message, not its line, so that edits elsewhere in the text keep
// it dismissed. A document without a path keeps them for the session.
class TDismissedProblems {
public:
    static QString Identity(const TClaimProblem& Problem);

    bool Has(const QString& Path, const TClaimProblem& Problem) const;
    void Dismiss(const QString& Path, const TClaimProblem& Problem);
    void Restore(const QString& Path, const TClaimProblem& Problem);

    // Problems split into those to show and those dismissed, in their order.
    void Split(const QString& Path, const std::vector<TClaimProblem>& Problems,
               std::vector<TClaimProblem>& Shown, std::vector<TClaimProblem>& Dismissed) const;

private:
    QSet<QString> Of(const QString& Path) const;
    void Store(const QString& Path, const QSet<QString>& Identities);

    QHash<QString, QSet<QString>> unsaved; // by path, for documents never saved: ""
};
