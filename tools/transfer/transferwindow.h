#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QString>
#include <QWidget>

// The utility's own small window while a transfer runs: what moves, the port and its device, how
// many records have gone, and a Cancel button. A transfer that ends normally closes it; one that
// fails leaves the reason in it until the user closes it.
class TransferWindow : public QWidget {
    Q_OBJECT

public:
    // `what` says what moves ("Sending rmItems.dat"), `where` the port ("COM1 (/dev/ttyS0)").
    TransferWindow(const QString& what, const QString& where);

    // For the handheld page: its address as text and as the QR code `qr`, the pairing code, and the
    // plain address that serves the certificate to trust.
    void showHandheldPage(const QString& address, const QString& code, const QImage& qr,
                          const QString& instructions);

    // What the transfer reports, each shown as it happens.
    void onLinkedUp();
    void onProgressed(int recordsMoved, int recordsInAll);
    void onNoticed(const QString& text);
    void onFinished(bool succeeded, const QString& failure);

signals:
    // The user asked to give the transfer up, with Cancel or by closing the window.
    void cancelRequested();
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void onButton();
    void showProgress();

    QLabel* state_;
    QProgressBar* bar_;
    QLabel* reason_;
    QPushButton* button_;
    // The handheld page's address and pairing code, while it is served.
    QWidget* handheldPage_ = nullptr;
    bool running_ = true;
    // The bar is redrawn at most every so often, however fast the records go.
    QElapsedTimer sinceProgressShown_;
    int recordsMoved_ = 0;
    int recordsInAll_ = 0;
};
