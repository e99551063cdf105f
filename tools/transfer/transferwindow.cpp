#include "transferwindow.h"

#include <QCloseEvent>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

constexpr qint64 kProgressEveryMs = 100;

}  // namespace

TransferWindow::TransferWindow(const QString& what, const QString& where)
    : state_(new QLabel(QStringLiteral("Waiting for the scanner: put it into its transfer mode"))),
      bar_(new QProgressBar),
      reason_(new QLabel),
      button_(new QPushButton(QStringLiteral("Cancel"))) {
    setWindowTitle(QStringLiteral("Tsr-tu3a.exe: %1").arg(what));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(what));
    layout->addWidget(new QLabel(QStringLiteral("Scanner on %1").arg(where)));
    layout->addWidget(state_);
    // Busy until the number of records is known.
    bar_->setRange(0, 0);
    layout->addWidget(bar_);
    reason_->setWordWrap(true);
    reason_->setStyleSheet(QStringLiteral("color: #b00000"));
    reason_->hide();
    layout->addWidget(reason_);
    layout->addWidget(button_, 0, Qt::AlignRight);
    connect(button_, &QPushButton::clicked, this, &TransferWindow::onButton);
    setMinimumWidth(420);
}

void TransferWindow::showHandheldPage(const QString& address, const QString& code, const QImage& qr,
                                      const QString& instructions) {
    handheldPage_ = new QWidget;
    auto* page = new QVBoxLayout(handheldPage_);
    page->setContentsMargins(0, 0, 0, 0);
    auto* picture = new QLabel;
    picture->setPixmap(QPixmap::fromImage(qr));
    picture->setAlignment(Qt::AlignHCenter);
    page->addWidget(picture);
    auto* text = new QLabel(QStringLiteral("On the handheld, open <b>%1</b> (or scan the code above).<br>"
                                           "Pairing code: <span style=\"font-size: 20pt; font-weight: bold; "
                                           "letter-spacing: 4px\">%2</span><br>"
                                           "First time on a handheld? Open %3 on it to trust this PC.")
                                .arg(address.toHtmlEscaped(), code, instructions.toHtmlEscaped()));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setWordWrap(true);
    page->addWidget(text);
    static_cast<QVBoxLayout*>(layout())->insertWidget(2, handheldPage_);
}

void TransferWindow::onLinkedUp() {
    state_->setText(QStringLiteral("Linked up with the scanner"));
}

void TransferWindow::onProgressed(int recordsMoved, int recordsInAll) {
    recordsMoved_ = recordsMoved;
    recordsInAll_ = recordsInAll;
    if (!sinceProgressShown_.isValid() || sinceProgressShown_.elapsed() >= kProgressEveryMs) {
        showProgress();
    }
}

void TransferWindow::onNoticed(const QString& text) {
    state_->setText(text);
}

void TransferWindow::onFinished(bool succeeded, const QString& failure) {
    running_ = false;
    showProgress();
    if (succeeded) {
        close();
        return;
    }
    state_->setText(QStringLiteral("The transfer failed"));
    if (handheldPage_) {
        // Nothing serves the page any more.
        handheldPage_->hide();
    }
    if (bar_->maximum() == 0) {
        // Still busy: no record count ever came.
        bar_->hide();
    }
    reason_->setText(failure);
    reason_->show();
    button_->setText(QStringLiteral("Close"));
    // Room for the reason, which may take a few lines.
    adjustSize();
}

void TransferWindow::closeEvent(QCloseEvent* event) {
    if (running_) {
        emit cancelRequested();
    }
    event->accept();
    emit closed();
}

void TransferWindow::onButton() {
    if (running_) {
        emit cancelRequested();
    } else {
        close();
    }
}

void TransferWindow::showProgress() {
    sinceProgressShown_.start();
    if (recordsInAll_ > 0) {
        bar_->setRange(0, recordsInAll_);
        bar_->setFormat(QStringLiteral("record %v of %m"));
    }
    bar_->setValue(recordsMoved_);
}
