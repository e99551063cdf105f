// The transfer utility over a pseudo-terminal, with the simulator as the scanner: records a second
// in each direction with the line unpaced, and a 200-item send paced at 9600 baud against the
// line's own floor, the bytes on the wire at 10 bits each.
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "benchtools.h"
#include "fileprotocol.h"

namespace {

// The bytes both ends put on the wire for a send of `records` item records: the link, the heading,
// each block and its ACK, and the end.
qint64 wireBytes(int records) {
    const fileprotocol::LinkRules rules;
    const fileprotocol::Heading heading{"RMITEMS.DAT", records, {5, 15, 40, 9, 5}};
    const qint64 block = fileprotocol::dataBlock(1, QByteArray(74, ' '), rules).size();
    return 2 + fileprotocol::headingBlock(heading, rules).size() + 1 + records * (block + 1) + 2;
}

// The simulator on a pseudo-terminal named in the benchmark's scanner settings.
class Line {
public:
    explicit Line(const QStringList& options) {
        bench::writeFile(path("scanner.ini"), ("[ports]\nCOM1=" + path("line") + "\n").toUtf8());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PDT_SIM_DIR"), path("memory"));
        simulator_.setProcessEnvironment(environment);
        simulator_.start(
            bench::binFolder() + QStringLiteral("/pdt-sim"),
            QStringList{QStringLiteral("serve"), QStringLiteral("--link"), path("line")} + options);
        if (!simulator_.waitForReadyRead(10000)) {
            std::fprintf(stderr, "scanner_link: pdt-sim serve did not start\n");
            std::exit(1);
        }
        qputenv("RMSTOCKHAND_SCANNER_SETTINGS", path("scanner.ini").toLocal8Bit());
        qputenv("PDT_SIM_DIR", "");
    }
    ~Line() {
        simulator_.terminate();
        simulator_.waitForFinished(10000);
    }

    QString path(const QString& name) const { return folder_.filePath(name); }

    bench::Run transfer(const QStringList& arguments) const {
        const bench::Run run =
            bench::measure(QStringList{bench::binFolder() + QStringLiteral("/Tsr-tu3a.exe")} + arguments, {},
                           {}, path("utility.err"));
        if (run.exitCode != 0) {
            std::fprintf(stderr, "scanner_link: the transfer failed\n");
            std::exit(1);
        }
        return run;
    }

private:
    QTemporaryDir folder_;
    QProcess simulator_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int records = bench::intOption(args, "--records", 32767);
    const int paced = bench::intOption(args, "--paced-items", 200);
    const QString port = QStringLiteral("COM1:9600,n,8,1");
    {
        const Line line({});
        bench::writeFile(line.path("rmItems.dat"), bench::itemFile(records));
        const bench::Run sent = line.transfer(
            {port, QStringLiteral("n"), 'D' + line.path("rmItems.dat"), QStringLiteral("/f5,15,40,9,5")});
        bench::printFigure("send, unpaced", records / sent.seconds, "records/s (floor 10000)");
        QDir().mkpath(line.path("memory"));
        bench::writeFile(line.path("memory/Stock.dat"), bench::stocktakeUpload(records - 1));
        const bench::Run received = line.transfer({port, QStringLiteral("n@"), line.path("Stock.dat")});
        bench::printFigure("receive, unpaced", records / received.seconds, "records/s (floor 10000)");
    }
    const Line line({QStringLiteral("--pace"), QStringLiteral("9600")});
    bench::writeFile(line.path("rmItems.dat"), bench::itemFile(paced));
    const bench::Run sent = line.transfer(
        {port, QStringLiteral("n"), 'D' + line.path("rmItems.dat"), QStringLiteral("/f5,15,40,9,5")});
    const double floor = wireBytes(paced) * 10.0 / 9600.0;
    bench::printFigure("paced send", sent.seconds, "s");
    bench::printFigure("the line's floor", floor, "s");
    bench::printFigure("paced send / floor", sent.seconds / floor, "x (target 1.05)");
    return 0;
}
