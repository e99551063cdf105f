#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// Replays a fuzz target's corpus, the inputs that once found something among them, as an
// ordinary test: a broken property aborts, a sanitizer finding fails the run. An empty or
// missing corpus fails too, so that a corpus moved away is not mistaken for one that passes.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    QDir corpus(QString::fromLocal8Bit(argv[1]));
    corpus.makeAbsolute();  // a target may work in a folder of its own
    const QStringList inputs = corpus.entryList(QDir::Files, QDir::Name);
    for (const QString& name : inputs) {
        QFile file(corpus.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
            return 1;
        }
        const QByteArray input = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()),
                               static_cast<size_t>(input.size()));
    }
    std::printf("%lld inputs replayed from %s\n", static_cast<long long>(inputs.size()), argv[1]);
    return inputs.isEmpty() ? 1 : 0;
}
