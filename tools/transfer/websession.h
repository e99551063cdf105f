#pragma once

#include <QEventLoop>
#include <QObject>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <memory>

#include "handheldserver.h"
#include "handheldservice.h"
#include "platform/scannersettings.h"
#include "stopsignals.h"

// One transfer with the handheld page: serves the page, follows the transfer in the utility's window
// or on the console, and says how it ended.
class WebSession : public QObject {
    Q_OBJECT

public:
    // `what` says what moves ("Sending rmItems.dat"); a stop signal on `stops` gives it up.
    WebSession(HandheldOffer offer, const platform::ScannerSettings& settings, QString what,
               StopSignals& stops);
    ~WebSession() override;

    // Serves the page until the transfer ends, for the port `where` ("COM1 (handheld page)");
    // raises scanner::Failure with the reason when it fails.
    void run(const QString& where, bool windowed);

signals:
    void linked(const QString& text);
    void ended(bool succeeded, const QString& failure);

private:
    void showWindow(const QString& where, const QString& address, const QString& instructions);
    void reportOnConsole(const QString& where);
    void onHeard(const QString& handheld);
    QString nobodyCalled() const;
    // Stops listening, lets the last replies go out, then tells the view.
    void end(bool succeeded, const QString& failure);
    // Tells the view how the transfer ended, once.
    void tell();

    const platform::ScannerSettings& settings_;
    QString what_;
    bool sending_;
    QString code_;
    HandheldService service_;
    std::unique_ptr<HandheldServer> server_;
    std::unique_ptr<QObject> view_;
    StopSignals& stopSignals_;
    QSocketNotifier stopNotifier_;
    QTimer deadline_;
    QEventLoop loop_;
    QStringList heard_;
    bool over_ = false;
    bool told_ = false;
    bool succeeded_ = false;
    QString failure_;
};
