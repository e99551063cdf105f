#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "platform/eventdelivery.h"
#include "platform/programerror.h"
#include "scanner/transferpdtfile.h"
#include "startup/progresssink.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct Program;

// The main menu: the four transfer commands, the port choice, the download path, the overwrite
// option, the status line and the version. Start-up shows it modally; the program ends when it
// is unloaded.
class frmMenu : public QDialog, public ProgressSink {
    Q_OBJECT
public:
    explicit frmMenu(Program& program, QWidget* parent = nullptr);

    void setStatus(const QString& text) override;
    void setBackColour(const QColor& colour) override;
    void restoreIdleColour() override;
    void setBusyPointer(bool busy) override;
    void setScreenBusyPointer(bool busy) override;
    void yield() override;

    // Shows the menu modally until it is unloaded; raises the error that an event handler left
    // untrapped, which ends the program.
    void showModal();

    // True while one of the four transfer commands runs.
    bool commandRunning() const;
    // Unloads the menu, or, while a command runs, once that command has ended.
    void done(int result) override;

public slots:
    // The menu becoming active: runs after the first show, and again whenever another window of
    // the program (the order details dialog) has closed over it.
    void Form_Activate();
    void cmdCancel_Click();
    void cmdDownloadItemFile_Click();
    void cmdUploadPDT_Click();
    void cmdUploadOrders_Click();
    void cmdGoodsReceived_Click();
    // Opens the runs window modally over the menu.
    void cmdRuns_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createCommands();
    void createPortChoice();
    void createTextBoxes();
    void setTabOrders();
    void activate();
    // The port and the overwrite box as they stand.
    ScannerPort scannerPort() const;
    // Runs an event handler; an error it does not trap unloads the menu and so ends the program.
    void runEventHandler(const std::function<void()>& handler);
    // Runs a transfer command with the four transfer buttons blocked, then restores them.
    void runCommand(const std::function<void()>& command);

    Program& program_;
    bool shownBefore_ = false;
    std::optional<ProgramError> untrappedError_;
    bool commandRunning_ = false;
    EventDelivery events_;
    // The result of a Quit or close that came while a command ran.
    std::optional<int> pendingUnload_;

    QPushButton* cmdUploadPDT = nullptr;
    QCheckBox* chOverwrite = nullptr;
    QRadioButton* optcomm1 = nullptr;
    QRadioButton* optcomm2 = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLineEdit* txtVers = nullptr;
    QLineEdit* txtDownLoadPath = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtStatus = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* cmdUploadOrders = nullptr;
    QPushButton* cmdDownloadItemFile = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* cmdGoodsReceived = nullptr;
    QPushButton* cmdRuns = nullptr;
};
