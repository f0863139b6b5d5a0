#include "CompareCommand.h"

#include "BusyCursor.h"
#include "CompareWindow.h"
#include "Dialogs.h"
#include "DocumentFile.h"
#include "DocumentReader.h"
#include "ProgramSettings.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <new>

namespace {

// Whether the open document was last taken as the later version.
const QString OpenIsLaterKey = QStringLiteral("Compare/OpenIsLater");

// Reads document Index of FileName, its claims in Language.
bool ReadVersionFile(const QString& FileName, int Index, const QString& Language, std::string& Text,
                     QString& Fault) {
    std::string bytes;
    if (!ReadDocumentFile(FileName, bytes)) {
        Fault = QStringLiteral("Unable to open file\n") + QDir::toNativeSeparators(FileName);
        return false;
    }
    TDocumentText document;
    QString format;
    QString fault;
    if (!ReadInputDocument(bytes, document, format, fault, Index, Language)) {
        Fault = QStringLiteral("Unable to open file\n") + QDir::toNativeSeparators(FileName) +
                (fault.isEmpty() ? QString() : u'\n' + fault);
        return false;
    }
    Text = std::move(document.Analysed);
    return true;
}

QString DocumentName(const TReadDocument& Document, std::size_t Index) {
    QString name = QStringLiteral("%1.").arg(Index + 1);
    if (!Document.Number.isEmpty())
        name += u' ' + Document.Number;
    if (!Document.Title.isEmpty())
        name += u' ' + Document.Title.left(60);
    return name;
}

} // namespace

bool ReadOtherVersion(const TCompareSource& Source, const TOpenDocument& Open,
                      TCompareVersion& Version, QString& Fault) {
    using TKind = TCompareSource::TKind;
    Version.Reading = Open.Reading;
    try {
        const TBusyCursor busy;
        switch (Source.Kind) {
        case TKind::File:
            Version.Name = QFileInfo(Source.FileName).fileName();
            return ReadVersionFile(Source.FileName, 0, {}, Version.Text, Fault);
        case TKind::SavedFile:
            Version.Name = Open.Caption + QStringLiteral(" (as saved)");
            return ReadVersionFile(Open.FileName, Open.Index, Open.Language, Version.Text, Fault);
        case TKind::Document:
            Version.Name = Open.Caption + QStringLiteral(", document %1").arg(Source.Index + 1);
            return ReadVersionFile(Open.FileName, Source.Index, Open.Language, Version.Text, Fault);
        case TKind::Language:
            Version.Name = Open.Caption + QStringLiteral(" (%1)").arg(Source.Language);
            return ReadVersionFile(Open.FileName, Open.Index, Source.Language, Version.Text, Fault);
        }
    } catch (const std::bad_alloc&) {
        Fault = QStringLiteral("There is not enough memory to read the other version.");
    }
    return false;
}

TCompareDialog::TCompareDialog(const TOpenDocument& Open, QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("CompareDialog"));
    setWindowTitle(QStringLiteral("Compare With"));
    rbFile = new QRadioButton(QStringLiteral("&Another document:"), this);
    edFile = new QLineEdit(this);
    btnBrowse = new QPushButton(QStringLiteral("&Browse..."), this);
    rbSavedFile = new QRadioButton(QStringLiteral("The &saved file (the edits against it)"), this);
    rbDocument = new QRadioButton(QStringLiteral("Another &document of this file:"), this);
    cbDocument = new QComboBox(this);
    rbLanguage = new QRadioButton(QStringLiteral("The claims in another &language:"), this);
    cbLanguage = new QComboBox(this);
    cbOpenIsLater =
        new QCheckBox(QStringLiteral("The open document is the &later version (B)"), this);
    cbOpenIsLater->setChecked(ProgramSettings().value(OpenIsLaterKey, true).toBool());
    rbFile->setChecked(true);

    // What the open file holds besides the document shown.
    TDocumentRead read;
    if (!Open.FileName.isEmpty()) {
        try {
            const TBusyCursor busy;
            std::string bytes;
            if (ReadDocumentFile(Open.FileName, bytes))
                read = ReadDocument(bytes, Open.Language);
        } catch (const std::bad_alloc&) {
            read = {};
        }
    }
    for (std::size_t i = 0; i < read.Documents.size(); ++i) {
        if (static_cast<int>(i) != Open.Index)
            cbDocument->addItem(DocumentName(read.Documents[i], i), static_cast<int>(i));
    }
    const auto shownDocument = static_cast<std::size_t>(Open.Index);
    if (shownDocument < read.Documents.size()) {
        const TReadDocument& shown = read.Documents[shownDocument];
        const QString current = Open.Language.isEmpty() ? shown.Language : Open.Language;
        for (const TClaimsBlock& block : shown.ClaimsBlocks) {
            if (!block.Language.isEmpty() && block.Language != current &&
                cbLanguage->findData(block.Language) < 0)
                cbLanguage->addItem(block.Language, block.Language);
        }
    }
    rbSavedFile->setEnabled(!Open.FileName.isEmpty());
    rbDocument->setEnabled(cbDocument->count() > 0);
    cbDocument->setEnabled(cbDocument->count() > 0);
    rbLanguage->setEnabled(cbLanguage->count() > 0);
    cbLanguage->setEnabled(cbLanguage->count() > 0);
    // Edits are most often compared with what was saved.
    if (Open.Edited && !Open.FileName.isEmpty())
        rbSavedFile->setChecked(true);
    if (rbFile->isChecked())
        edFile->setFocus();

    auto* grid = new QGridLayout;
    grid->addWidget(rbFile, 0, 0);
    grid->addWidget(edFile, 0, 1);
    grid->addWidget(btnBrowse, 0, 2);
    grid->addWidget(rbSavedFile, 1, 0, 1, 3);
    grid->addWidget(rbDocument, 2, 0);
    grid->addWidget(cbDocument, 2, 1, 1, 2);
    grid->addWidget(rbLanguage, 3, 0);
    grid->addWidget(cbLanguage, 3, 1, 1, 2);
    grid->setColumnMinimumWidth(1, 320);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Compare"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(cbOpenIsLater);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const QString folder =
        Open.FileName.isEmpty() ? QDir::homePath() : QFileInfo(Open.FileName).absolutePath();
    connect(btnBrowse, &QPushButton::clicked, this, [this, folder] {
        QFileDialog dialog(this, QStringLiteral("Compare With"));
        dialog.setObjectName(QStringLiteral("CompareOpenDialog"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDirectory(folder);
        const QString fileName = TDialogs::ChooseFile(dialog);
        if (!fileName.isEmpty()) {
            edFile->setText(QDir::toNativeSeparators(fileName));
            rbFile->setChecked(true);
        }
    });
    for (QRadioButton* button : {rbFile, rbSavedFile, rbDocument, rbLanguage})
        connect(button, &QRadioButton::toggled, this, [this] { UpdateOk(); });
    connect(edFile, &QLineEdit::textChanged, this, [this] { UpdateOk(); });
    connect(edFile, &QLineEdit::textEdited, this, [this] { rbFile->setChecked(true); });
    UpdateOk();
}

void TCompareDialog::UpdateOk() {
    auto* buttons = findChild<QDialogButtonBox*>();
    if (buttons != nullptr)
        buttons->button(QDialogButtonBox::Ok)
            ->setEnabled(!rbFile->isChecked() || !edFile->text().trimmed().isEmpty());
}

TCompareSource TCompareDialog::Source() const {
    TCompareSource source;
    if (rbSavedFile->isChecked()) {
        source.Kind = TCompareSource::TKind::SavedFile;
    } else if (rbDocument->isChecked()) {
        source.Kind = TCompareSource::TKind::Document;
        source.Index = cbDocument->currentData().toInt();
    } else if (rbLanguage->isChecked()) {
        source.Kind = TCompareSource::TKind::Language;
        source.Language = cbLanguage->currentData().toString();
    } else {
        source.FileName = QDir::fromNativeSeparators(edFile->text().trimmed());
    }
    return source;
}

bool TCompareDialog::OpenIsLater() const {
    return cbOpenIsLater->isChecked();
}

TCompareCommand::TCompareCommand(QMenu& Tools, QWidget& Window, std::function<TOpenDocument()> Open)
    : QObject(&Window), window(Window), open(std::move(Open)) {
    CompareWith1 = Tools.addAction(QStringLiteral("Compare &with..."));
    CompareWith1->setObjectName(QStringLiteral("CompareWith1"));
    connect(CompareWith1, &QAction::triggered, this,
            [this] { RunHandler([this] { CompareWithClick(); }); });
}

TCompareWindow* TCompareCommand::Compare(const TCompareSource& Source, bool OpenIsLater) {
    const TOpenDocument document = open();
    if (document.Text.empty()) {
        TDialogs::Message(&window, QStringLiteral("There is no open document to compare."),
                          QStringLiteral("INFORMATION"), QMessageBox::Information, QMessageBox::Ok);
        return nullptr;
    }
    TCompareVersion other;
    QString fault;
    if (!ReadOtherVersion(Source, document, other, fault)) {
        TDialogs::Message(&window, fault, QStringLiteral("ERROR"), QMessageBox::Critical,
                          QMessageBox::Ok);
        return nullptr;
    }
    TCompareVersion shown{document.Caption, document.Text, document.Reading};
    if (document.Edited && Source.Kind == TCompareSource::TKind::SavedFile)
        shown.Name += QStringLiteral(" (edited)");
    auto* compared = OpenIsLater ? new TCompareWindow(std::move(other), std::move(shown), &window)
                                 : new TCompareWindow(std::move(shown), std::move(other), &window);
    compared->show();
    return compared;
}

void TCompareCommand::CompareWithClick() {
    TCompareDialog dialog(open(), &window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ProgramSettings().setValue(OpenIsLaterKey, dialog.OpenIsLater());
    Compare(dialog.Source(), dialog.OpenIsLater());
}
