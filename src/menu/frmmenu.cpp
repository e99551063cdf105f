#include "menu/frmmenu.h"
#include "runswindow/frmruns.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <utility>

#include "menu/formfont.h"
#include "menu/menuartwork.h"
#include "menu/uploadcommands.h"
#include "menu/wrappingcaption.h"
#include "scanner/itemexport.h"
#include "startup/program.h"
#include "startup/settings.h"
#include "startup/startup.h"

namespace {

// The form was laid out in twips: 15 to a pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;
// The port options sit inside the frame, whose corner is here on the form.
constexpr int kFrameLeft = 3360;
constexpr int kFrameTop = 3480;

void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                        height / kTwipsPerPixel);
}

template <class Widget>
Widget* named(Widget* widget, const char* name, const char* toolTip = nullptr) {
    widget->setObjectName(QLatin1String(name));
    if (toolTip != nullptr) {
        widget->setToolTip(QLatin1String(toolTip));
    }
    return widget;
}

WrappingButton* button(QWidget* form, const char* name, const char* caption, const char* toolTip) {
    auto* command = named(new WrappingButton(QLatin1String(caption), form), name, toolTip);
    // Enter in a text box must not start a command, so no button is the default.
    command->setAutoDefault(false);
    return command;
}

QLineEdit* textBox(QWidget* form, const char* name, const char* text, const char* toolTip = nullptr) {
    return named(new QLineEdit(QLatin1String(text), form), name, toolTip);
}

}  // namespace

frmMenu::frmMenu(Program& program, QWidget* parent) : QDialog(parent), program_(program) {
    setWindowTitle(QStringLiteral("The NUX Group RM Stockhand"));
    setWindowIcon(menuIcon());
    setFont(formFont(font()));
    setFixedSize(5310 / kTwipsPerPixel, 7395 / kTwipsPerPixel);
    createCommands();
    createPortChoice();
    createTextBoxes();
    setTabOrders();
    if (const QScreen* display = screen()) {
        move(display->availableGeometry().center() - rect().center());
    }
}

void frmMenu::createCommands() {
    cmdUploadPDT = button(this, "cmdUploadPDT", "Upload &StockTake File",
                          "Upload stock.dat from your PDT into RM Database");
    place(cmdUploadPDT, 240, 1920, 1335, 735);
    cmdUploadOrders = button(this, "cmdUploadOrders", "Upload &Orders File",
                             "Upload orders.dat from your PDT into RM Database");
    place(cmdUploadOrders, 240, 2880, 1335, 735);
    cmdGoodsReceived = button(this, "cmdGoodsReceived", "Upload &Goods Received File", nullptr);
    place(cmdGoodsReceived, 240, 3840, 1335, 735);
    cmdDownloadItemFile =
        button(this, "cmdDownloadItemFile", "Download RM &Item File",
               "Download the Item File from RM, and upload into your PDT for Price Checking");
    place(cmdDownloadItemFile, 3720, 1920, 1335, 735);
    // In the free place under the item file's button; it stays enabled without a shop database, so
    // that the runs window can say so itself.
    cmdRuns = button(this, "cmdRuns", "Runs and &Variance",
                     "See what was loaded, take an import back, check an upload, and compare a stocktake "
                     "with the stock");
    place(cmdRuns, 3720, 2700, 1335, 735);
    cmdCancel = button(this, "cmdCancel", "&Quit", nullptr);
    place(cmdCancel, 3960, 6720, 1095, 495);

    connect(cmdUploadPDT, &QPushButton::clicked, this, &frmMenu::cmdUploadPDT_Click);
    connect(cmdUploadOrders, &QPushButton::clicked, this, &frmMenu::cmdUploadOrders_Click);
    connect(cmdGoodsReceived, &QPushButton::clicked, this, &frmMenu::cmdGoodsReceived_Click);
    connect(cmdDownloadItemFile, &QPushButton::clicked, this, &frmMenu::cmdDownloadItemFile_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMenu::cmdCancel_Click);
    connect(cmdRuns, &QPushButton::clicked, this, &frmMenu::cmdRuns_Click);
}

void frmMenu::createPortChoice() {
    Frame1 = named(new QGroupBox(QStringLiteral("Comm Port"), this), "Frame1");
    place(Frame1, kFrameLeft, kFrameTop, 1695, 1455);
    optcomm1 = named(new QRadioButton(QStringLiteral("Comm1?"), Frame1), "optcomm1");
    place(optcomm1, 3720 - kFrameLeft, 3840 - kFrameTop, 975, 375);
    optcomm2 = named(new QRadioButton(QStringLiteral("Comm2?"), Frame1), "optcomm2");
    place(optcomm2, 3720 - kFrameLeft, 4320 - kFrameTop, 975, 375);
    optcomm1->setChecked(true);

    chOverwrite =
        named(new WrappingCheckBox(QStringLiteral("Overwrite existing download file?"), this), "chOverwrite");
    place(chOverwrite, 3360, 5520, 1695, 495);
    chOverwrite->setChecked(true);
}

void frmMenu::createTextBoxes() {
    Picture1 = named(new QLabel(this), "Picture1");
    place(Picture1, 240, 600, 4815, 1095);
    // The picture box shows the logo from its top left corner and clips the rest.
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setPixmap(menuLogo());

    txtVers = textBox(this, "txtVers", "V " RMSTOCKHAND_VERSION);
    place(txtVers, 4440, 120, 615, 285);
    QPalette buttonFace = txtVers->palette();
    buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Button));
    txtVers->setPalette(buttonFace);

    Label1 = named(new QLabel(QStringLiteral("Download path"), this), "Label1");
    place(Label1, 240, 4800, 1335, 255);
    txtDownLoadPath = textBox(this, "txtDownLoadPath", "Not Chosen",
                              "Choose your download path. NB: Your path should be same path as application");
    place(txtDownLoadPath, 240, 5160, 4815, 285);

    Label2 = named(new QLabel(QStringLiteral("Events Status"), this), "Label2");
    place(Label2, 240, 5880, 1335, 255);
    txtStatus = textBox(this, "txtStatus", "", "Processing Barcodes...");
    place(txtStatus, 240, 6240, 4815, 285);
}

void frmMenu::setTabOrders() {
    const QList<QWidget*> order{
        cmdUploadPDT,     chOverwrite,     optcomm1,  optcomm2,        cmdCancel,
        txtVers,          txtDownLoadPath, txtStatus, cmdUploadOrders, cmdDownloadItemFile,
        cmdGoodsReceived, cmdRuns};
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order.at(i - 1), order.at(i));
    }
}

ScannerPort frmMenu::scannerPort() const {
    return {optcomm1->isChecked() ? QStringLiteral("1") : QStringLiteral("2"), chOverwrite->isChecked()};
}

void frmMenu::setStatus(const QString& text) {
    txtStatus->setText(text);
}

void frmMenu::setBackColour(const QColor& colour) {
    QPalette background = palette();
    background.setColor(QPalette::Window, colour);
    setPalette(background);
    setAutoFillBackground(true);
}

void frmMenu::restoreIdleColour() {
    setBackColour(QApplication::palette().color(QPalette::ToolTipBase));
}

void frmMenu::setBusyPointer(bool busy) {
    if (busy) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

void frmMenu::setScreenBusyPointer(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void frmMenu::yield() {
    events_.deliver();
}

void frmMenu::showModal() {
    exec();
    if (untrappedError_) {
        throw *untrappedError_;
    }
}

void frmMenu::Form_Activate() {
    runEventHandler([this] { activate(); });
}

void frmMenu::activate() {
    txtVers->setText(program_.modMain.sVersion);
    ManageDefaults(program_, program_.exeName, QStringLiteral("GET"), kComPortKey,
                   program_.modMain.sCommPort);
    if (program_.modMain.sCommPort == QLatin1String("1")) {
        optcomm1->setChecked(true);
    } else {
        optcomm2->setChecked(true);
    }
    ManageDefaults(program_, program_.exeName, QStringLiteral("GET"), kDespatchPathKey,
                   program_.modMain.sDespatchPath);
    if (!program_.modMain.sDespatchPath.isEmpty()) {
        txtDownLoadPath->setText(program_.modMain.sDespatchPath);
    }
    if (!dataSourceRegistered(program_, shopDataSource())) {
        program_.prompts.notice(notConfiguredMessage());
        for (QPushButton* command : {cmdDownloadItemFile, cmdGoodsReceived, cmdUploadOrders, cmdUploadPDT}) {
            command->setEnabled(false);
        }
    }
}

void frmMenu::cmdCancel_Click() {
    if (program_.prompts.question(QStringLiteral("Are you sure?"))) {
        accept();
    }
}

void frmMenu::cmdDownloadItemFile_Click() {
    runCommand([this] { downloadItemFile(program_, txtDownLoadPath->text(), scannerPort()); });
}

void frmMenu::cmdUploadPDT_Click() {
    runCommand([this] { uploadCommand(program_, UploadKind::Stocktake, scannerPort(), *txtDownLoadPath); });
}

void frmMenu::cmdUploadOrders_Click() {
    runCommand([this] { uploadCommand(program_, UploadKind::Orders, scannerPort(), *txtDownLoadPath); });
}

void frmMenu::cmdGoodsReceived_Click() {
    runCommand(
        [this] { uploadCommand(program_, UploadKind::GoodsReceived, scannerPort(), *txtDownLoadPath); });
}

void frmMenu::cmdRuns_Click() {
    runCommand([this] {
        frmRuns runs(program_, this);
        runs.exec();
    });
    // The menu becomes active again once the window over it has closed.
    Form_Activate();
}

bool frmMenu::commandRunning() const {
    return commandRunning_;
}

void frmMenu::done(int result) {
    // The command that is running works on this form: the menu unloads once it has ended.
    if (commandRunning_) {
        pendingUnload_ = result;
        return;
    }
    QDialog::done(result);
}

void frmMenu::runCommand(const std::function<void()>& command) {
    // A click delivered while another command yields starts nothing: two imports must never
    // interleave in one database and one audit report.
    if (commandRunning_) {
        return;
    }
    const QList<QPushButton*> commands{cmdDownloadItemFile, cmdUploadPDT, cmdUploadOrders, cmdGoodsReceived};
    QList<bool> wasEnabled;
    for (QPushButton* button : commands) {
        wasEnabled << button->isEnabled();
        button->setEnabled(false);
    }
    commandRunning_ = true;
    runEventHandler(command);
    commandRunning_ = false;
    for (qsizetype i = 0; i < commands.size(); ++i) {
        commands[i]->setEnabled(wasEnabled[i]);
    }
    if (pendingUnload_) {
        QDialog::done(*std::exchange(pendingUnload_, std::nullopt));
    }
}

void frmMenu::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shownBefore_) {
        shownBefore_ = true;
        // Once the window is on screen, as the menu becomes active.
        QMetaObject::invokeMethod(this, &frmMenu::Form_Activate, Qt::QueuedConnection);
    }
}

void frmMenu::keyPressEvent(QKeyEvent* event) {
    // Escape asks as the Quit button does, rather than closing the menu unasked.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmMenu::runEventHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const ProgramError& error) {
        untrappedError_ = error;
        done(QDialog::Rejected);
    }
}
