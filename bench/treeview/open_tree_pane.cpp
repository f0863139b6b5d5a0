// Opens a claim text in a shown tree pane as the main window does (analysis,
// drawing, expand all, first paint) and exits, for whole-process timing and
// peak memory:
//   write_claim_text all-preceding 300 > /tmp/t.txt
//   /usr/bin/time -v open_tree_pane /tmp/t.txt

#include "TreeView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: open_tree_pane FILE\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "open_tree_pane: cannot read %s\n", argv[1]);
        return 2;
    }
    const QByteArray text = file.readAll();
    QElapsedTimer timer;
    timer.start();
    TImageList images;
    TClaimTreePane pane;
    pane.resize(688, 800);
    pane.show();
    QApplication::processEvents();
    TClaimTree tree(text.toStdString());
    const qint64 analysed = timer.elapsed();
    TTreeDrawing drawing(tree);
    drawing.BuildDrawing(&pane, &images, nullptr, -1, true);
    drawing.ExpandAll();
    QApplication::processEvents();
    const std::size_t rows = drawing.Rows().size();
    const int lastRowTop = rows > 0 ? drawing.Rows().back().Top : 0;
    std::printf("analysis %lld ms, open with first paint %lld ms, %lld nodes, %zu rows, "
                "last row at y %d, content height %d\n",
                static_cast<long long>(analysed), static_cast<long long>(timer.elapsed()),
                static_cast<long long>(tree.CreatedNodeCount()), rows, lastRowTop,
                pane.Content()->height());
    return 0;
}
