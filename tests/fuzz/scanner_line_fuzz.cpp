#include "filereceiver.h"
#include "fuzzharness.h"

using namespace fileprotocol;

// Whatever arrives on the line, as the PC receiving an upload sees it: the first byte chooses the
// rules, the rest arrives a byte at a time with the clock moving on. A file is taken only whole:
// as many records as its heading announced, each as long as its fields and free of control
// characters.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const LinkRules rules{.serialNumbers = (data[0] & 1) == 0, .blockCheck = (data[0] & 2) == 0};
    FileReceiver receiver(rules, (data[0] & 4) == 0 ? QByteArray("STOCK.DAT") : QByteArray());
    receiver.start(Millis(0));
    for (size_t at = 1; at < size && receiver.progress() == Progress::Running; ++at) {
        const Millis now(static_cast<qint64>(at) * 500);
        receiver.received(QByteArrayView(reinterpret_cast<const char*>(data + at), 1), now);
        receiver.tick(now);
    }
    const std::optional<Heading>& heading = receiver.heading();
    fuzzCheck(heading || receiver.records().isEmpty(), "no record comes before the heading");
    if (receiver.progress() == Progress::Done) {
        fuzzCheck(receiver.records().size() == heading->records, "a file is taken whole");
    }
    for (const QByteArray& record : receiver.records()) {
        fuzzCheck(recordProblem(record, *heading).isEmpty(), "a record fits its heading");
    }
    return 0;
}
