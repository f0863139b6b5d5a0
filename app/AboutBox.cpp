#include "AboutBox.h"

#include "AnchorLayout.h"
#include "Fonts.h"
#include "ProgramIcon.h"
#include "VeltrumVersion.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

TAboutBox* AboutBox = nullptr;

TTopLineBevel::TTopLineBevel(QWidget* Parent) : QWidget(Parent) {}

void TTopLineBevel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, 1, width() - 1, 1);
}

namespace {

constexpr Qt::Edges LeftTop = Qt::LeftEdge | Qt::TopEdge;
constexpr Qt::Edges LeftTopRight = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge;

// A read-only field without border on the dialog's face: reads as a line of
// text that can still be selected and copied.
QLineEdit* NewFigureField(QWidget* Parent, const char* Name) {
    auto* field = new QLineEdit(Parent);
    field->setObjectName(QLatin1String(Name));
    field->setReadOnly(true);
    field->setFrame(false);
    QPalette face = field->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Window));
    field->setPalette(face);
    return field;
}

QLabel* NewAutoSizeLabel(QWidget* Parent, const char* Name, const QString& Text, QPoint At) {
    auto* label = new QLabel(Text, Parent);
    label->setObjectName(QLatin1String(Name));
    label->move(At);
    label->adjustSize();
    return label;
}

// Shows Text from its start; the field's tooltip repeats it.
void ShowFigure(QLineEdit* Field, const QString& Text) {
    Field->setText(Text);
    Field->setCursorPosition(0);
    Field->setToolTip(Text);
}

// The figures' rows: Edit1, then each figure with its total beside it at the
// design's places, or, when either would be cut off there, the figure on a
// row of its own and the total indented below it. The rows end where the
// design's last row ends, and the bevel above them moves up as they grow.
constexpr int FigureRowHeight = 16;
constexpr int FigureHeight = 17;
constexpr int FiguresBottom = 211 + FigureRowHeight;
constexpr int FigureLeft = 8;
constexpr int RowWidth = 289;
constexpr int FigureWidth = 201;
constexpr int TotalLeft = 208;
constexpr int TotalWidth = 89;
constexpr int TotalIndent = 16;
constexpr int BevelAboveFigures = 8;

// Whether Field shows its whole text at Width: a line edit keeps two pixels
// either side of its text, and one for the caret.
bool ShowsWhole(const QLineEdit* Field, int Width) {
    return Field->fontMetrics().horizontalAdvance(Field->text()) + 5 <= Width;
}

QString Megabytes(uint64_t Bytes) {
    return QString::number(MegabytesShown(Bytes)) + QStringLiteral(" MB");
}

} // namespace

TAboutBox::TAboutBox(QWidget* Parent)
    : QDialog(Parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setWindowIcon(::ProgramIcon());
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 8));
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    black.setColor(QPalette::Text, Qt::black);
    setPalette(black);
    setFixedSize(318, 286);

    auto* dialogLayout = new TAnchorLayout(this, QSize(318, 286));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    dialogLayout->Place(Panel1, QRect(8, 8, 301, 238),
                        Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);

    OKButton = new QPushButton(QStringLiteral("O&K"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setCursor(Qt::PointingHandCursor);
    dialogLayout->Place(OKButton, QRect(238, 255, 65, 26), Qt::RightEdge | Qt::BottomEdge);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);

    panelLayout = new TAnchorLayout(Panel1, QSize(301, 238));

    IconPanel = new QFrame(Panel1);
    IconPanel->setObjectName(QStringLiteral("IconPanel"));
    IconPanel->setFrameStyle(QFrame::NoFrame);
    panelLayout->Place(IconPanel, QRect(8, 8, 33, 33));
    ProgramIcon = new QLabel(IconPanel);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(ProgramIconPicture());
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setAttribute(Qt::WA_TranslucentBackground);
    ProgramIcon->setGeometry(0, 0, 32, 32);

    ProductName = NewAutoSizeLabel(Panel1, "ProductName", QStringLiteral("Veltrum"), {48, 8});
    Version = NewAutoSizeLabel(Panel1, "Version", QStringLiteral("Version"), {48, 24});

    Bevel2 = new TTopLineBevel(Panel1);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    panelLayout->Place(Bevel2, QRect(8, 85, 285, 9), LeftTopRight);
    Bevel1 = new TTopLineBevel(Panel1);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    panelLayout->Place(Bevel1, QRect(8, 155, 285, 9), LeftTopRight);

    Edit1 = NewFigureField(Panel1, "Edit1");
    panelLayout->Place(Edit1, QRect(8, 163, 289, 17), LeftTopRight);
    Edit2 = NewFigureField(Panel1, "Edit2");
    panelLayout->Place(Edit2, QRect(8, 179, 201, 17), LeftTop);
    Edit3 = NewFigureField(Panel1, "Edit3");
    panelLayout->Place(Edit3, QRect(208, 179, 89, 17), LeftTopRight);
    Edit4 = NewFigureField(Panel1, "Edit4");
    panelLayout->Place(Edit4, QRect(8, 195, 201, 17), LeftTop);
    Edit5 = NewFigureField(Panel1, "Edit5");
    panelLayout->Place(Edit5, QRect(208, 195, 89, 17), LeftTopRight);
    Edit6 = NewFigureField(Panel1, "Edit6");
    panelLayout->Place(Edit6, QRect(8, 211, 201, 17), LeftTop);
    Edit7 = NewFigureField(Panel1, "Edit7");
    panelLayout->Place(Edit7, QRect(208, 211, 89, 17), LeftTopRight);

    setTabOrder(OKButton, Edit1);
}

void TAboutBox::FormActivate() {
    Version->setText(QStringLiteral("Version " VELTRUM_VERSION));
    Version->adjustSize();
    const TMemoryStatus memory = MemoryStatusSource();
    ShowFigure(Edit1, QStringLiteral("Memory load: %1%").arg(memory.MemoryLoad));
    ShowFigure(Edit2, QStringLiteral("Available physical memory: ") + Megabytes(memory.AvailPhys));
    ShowFigure(Edit3, QStringLiteral("Total: ") + Megabytes(memory.TotalPhys));
    ShowFigure(Edit4, QStringLiteral("Available page file: ") + Megabytes(memory.AvailPageFile));
    ShowFigure(Edit5, QStringLiteral("Total: ") + Megabytes(memory.TotalPageFile));
    ShowFigure(Edit6,
               QStringLiteral("Available virtual memory: ") + Megabytes(memory.AvailVirtual));
    ShowFigure(Edit7, QStringLiteral("Total: ") + Megabytes(memory.TotalVirtual));
    FitFigures();
}

void TAboutBox::FitFigures() {
    struct TPair {
        QLineEdit* Figure;
        QLineEdit* Total;
        bool SideBySide;
    };
    TPair pairs[] = {{Edit2, Edit3, true}, {Edit4, Edit5, true}, {Edit6, Edit7, true}};
    int rows = 1;
    for (TPair& pair : pairs) {
        pair.SideBySide =
            ShowsWhole(pair.Figure, FigureWidth) && ShowsWhole(pair.Total, TotalWidth);
        rows += pair.SideBySide ? 1 : 2;
    }
    int top = FiguresBottom - rows * FigureRowHeight;
    panelLayout->Move(Bevel1, QRect(8, top - BevelAboveFigures, 285, 9));
    panelLayout->Move(Edit1, QRect(FigureLeft, top, RowWidth, FigureHeight));
    top += FigureRowHeight;
    for (const TPair& pair : pairs) {
        if (pair.SideBySide) {
            panelLayout->Move(pair.Figure, QRect(FigureLeft, top, FigureWidth, FigureHeight));
            panelLayout->Move(pair.Total, QRect(TotalLeft, top, TotalWidth, FigureHeight));
        } else {
            panelLayout->Move(pair.Figure, QRect(FigureLeft, top, RowWidth, FigureHeight));
            top += FigureRowHeight;
            panelLayout->Move(pair.Total, QRect(FigureLeft + TotalIndent, top,
                                                RowWidth - TotalIndent, FigureHeight));
        }
        top += FigureRowHeight;
    }
}

void TAboutBox::OKButtonClick() {
    accept();
}

void TAboutBox::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    // Spontaneous show events come from the window system, e.g. on restoring.
    if (Event->spontaneous())
        return;
    if (const QScreen* shown = screen()) {
        QRect outer = frameGeometry();
        outer.moveCenter(shown->availableGeometry().center());
        move(outer.topLeft());
    }
    FormActivate();
    OKButton->setFocus(Qt::ActiveWindowFocusReason);
}
