#include "DismissedProblems.h"

#include "ProgramSettings.h"

#include <QCryptographicHash>
#include <QStringList>

namespace {

// One settings key per document; the path, hashed, holds no separators
// that the settings would read as groups.
QString KeyOf(const QString& Path) {
    return QStringLiteral("DismissedProblems/") +
           QString::fromLatin1(
               QCryptographicHash::hash(Path.toUtf8(), QCryptographicHash::Sha1).toHex());
}

} // namespace

QString TDismissedProblems::Identity(const TClaimProblem& Problem) {
    return QString::fromLatin1(ProblemKindName(Problem.Kind)) + QLatin1Char(' ') +
           QString::number(Problem.Claim) + QLatin1Char(' ') +
           QString::fromStdString(Problem.Message);
}

QSet<QString> TDismissedProblems::Of(const QString& Path) const {
    if (Path.isEmpty())
        return unsaved.value(Path);
    const QStringList stored = ProgramSettings().value(KeyOf(Path)).toStringList();
    return QSet<QString>(stored.begin(), stored.end());
}

void TDismissedProblems::Store(const QString& Path, const QSet<QString>& Identities) {
    if (Path.isEmpty()) {
        unsaved.insert(Path, Identities);
        return;
    }
    QSettings settings = ProgramSettings();
    if (Identities.isEmpty()) {
        settings.remove(KeyOf(Path));
        return;
    }
    QStringList list(Identities.begin(), Identities.end());
    list.sort();
    settings.setValue(KeyOf(Path), list);
}

bool TDismissedProblems::Has(const QString& Path, const TClaimProblem& Problem) const {
    return Of(Path).contains(Identity(Problem));
}

void TDismissedProblems::Dismiss(const QString& Path, const TClaimProblem& Problem) {
    QSet<QString> identities = Of(Path);
    identities.insert(Identity(Problem));
    Store(Path, identities);
}

void TDismissedProblems::Restore(const QString& Path, const TClaimProblem& Problem) {
    QSet<QString> identities = Of(Path);
    identities.remove(Identity(Problem));
    Store(Path, identities);
}

void TDismissedProblems::Split(const QString& Path, const std::vector<TClaimProblem>& Problems,
                               std::vector<TClaimProblem>& Shown,
                               std::vector<TClaimProblem>& Dismissed) const {
    Shown.clear();
    Dismissed.clear();
    const QSet<QString> identities = Of(Path);
    for (const TClaimProblem& problem : Problems) {
        if (!identities.isEmpty() && identities.contains(Identity(problem)))
            Dismissed.push_back(problem);
        else
            Shown.push_back(problem);
    }
}
