#include "PdfReading.h"

#include "BusyCursor.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <limits>
#include <memory>
#include <new>

std::optional<TDocumentRead> ReadInBackground(QWidget& Window, std::string_view Bytes,
                                              TReadOptions Options) {
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    std::atomic<bool> cancelled{false};
    Options.Progress = [&](int Done, int Total) {
        done = Done;
        total = Total;
        return !cancelled;
    };
    TDocumentRead read;
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            read = ReadDocument(Bytes, Options);
        } catch (const std::bad_alloc&) {
            read = TDocumentRead();
            read.Error = QStringLiteral("is too large to read in the memory left");
        }
    }));

    const TBusyCursor busy(Qt::BusyCursor);
    QProgressDialog dialog(QStringLiteral("Reading the PDF\u2026"), QStringLiteral("Cancel"), 0, 0,
                           &Window);
    dialog.setObjectName(QStringLiteral("PdfProgress1"));
    dialog.setWindowTitle(QStringLiteral("Open"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    // Shown once the reading has taken a moment, whatever the dialog's own
    // estimate of the time left.
    dialog.setMinimumDuration(std::numeric_limits<int>::max());
    QTimer::singleShot(PdfProgressDelayMs, &dialog, [&] {
        if (!cancelled)
            dialog.show();
    });
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&] {
        cancelled = true;
        dialog.setLabelText(QStringLiteral("Cancelling\u2026"));
    });
    // The reading's thread only counts; the dialog follows every 50 ms.
    QTimer follow;
    follow.setInterval(50);
    QObject::connect(&follow, &QTimer::timeout, &dialog, [&] {
        // Escape and the close box cancel without the signal.
        if (dialog.wasCanceled() && !cancelled)
            emit dialog.canceled();
        if (cancelled || total <= 0)
            return;
        dialog.setMaximum(total);
        dialog.setValue(done);
        dialog.setLabelText(QStringLiteral("Reading page %1 of %2\u2026")
                                .arg(std::min(done + 1, total + 0))
                                .arg(total + 0));
    });
    thread->start();
    follow.start();
    while (!thread->isFinished()) {
        // Until the dialog is up, clicks and keys wait: the window must not
        // start something else meanwhile. Once up, it takes them itself.
        QEventLoop::ProcessEventsFlags flags = QEventLoop::WaitForMoreEvents;
        if (!dialog.isVisible())
            flags |= QEventLoop::ExcludeUserInputEvents;
        QCoreApplication::processEvents(flags);
    }
    thread->wait();
    if (cancelled)
        return std::nullopt;
    return read;
}
