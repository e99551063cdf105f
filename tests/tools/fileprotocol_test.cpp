// The scanner's file protocol: its blocks as the scanner lays them out, and station against station
// over a wire the test controls, each fault of the line ending as the protocol says.
#include <gtest/gtest.h>

#include <functional>

#include "filereceiver.h"
#include "filesender.h"
#include "qtprinting.h"

using namespace fileprotocol;
using namespace std::chrono_literals;

TEST(FileProtocol, BlocksHeadingsAndRecordsFollowTheScannersLayout) {
    const Heading items{"RMITEMS.DAT", 200, {5, 15, 40, 9, 5}};
    EXPECT_EQ(headingText(items), "RMITEMS.DAT 00200050515400905");
    EXPECT_EQ(readHeadingText(headingText(items)), items);
    const std::pair<int, QByteArray> codes[] = {{1, "01"},   {99, "99"},  {100, "@0"},
                                                {119, "A9"}, {200, "P0"}, {254, "U4"}};
    for (const auto& [length, code] : codes) {
        EXPECT_EQ(fieldLengthCode(length), code) << length;
        EXPECT_EQ(readFieldLengthCode(code[0], code[1]), length) << code.data();
    }
    const std::pair<const char*, Heading> refused[] = {
        {"32,768 records", {"BIG.DAT", 32768, {5}}},    {"no field", {"A.DAT", 1, {}}},
        {"17 fields", {"A.DAT", 1, QList<int>(17, 1)}}, {"a field of 255", {"A.DAT", 1, {255}}},
        {"layout of 256", {"A.DAT", 1, {127, 127}}},
    };
    for (const auto& [name, heading] : refused) {
        EXPECT_FALSE(headingProblem(heading).isEmpty()) << name;
    }
    EXPECT_TRUE(headingProblem({"A.DAT", 32767, {127, 126}}).isEmpty());
    // The check character is the XOR of the serial, the record and ETX, as the scanner works it out.
    EXPECT_EQ(dataBlock(1, "AB", LinkRules()), kStx + QByteArray("00001AB") + kEtx + '1');
    EXPECT_EQ(scannerFileName("rmItems.dat"), "RMITEMS.DAT");
    EXPECT_EQ(scannerFileName("inventory.dat"), std::nullopt);
    // A received record is its fields without their padding, joined by commas.
    EXPECT_EQ(recordLine("57   9310012345678  3.5  ", {5, 15, 5}), "57,9310012345678,3.5");
    EXPECT_EQ(recordLine("12   4         102  6    ", {5, 5, 5, 5, 5}), "12,4,,102,6");
    EXPECT_EQ(recordLine(" 7 x", {4}), " 7 x");
}

namespace {

// What the wire does to the bytes bound for the receiver (true), or back to the sender.
using Fault = std::function<QByteArray(bool toReceiver, QByteArray bytes)>;

const LinkRules kQuick{.retryInterval = 100ms, .linkUpTime = 2000ms};

QList<QByteArray> records(int count) {
    QList<QByteArray> list;
    for (int i = 1; i <= count; ++i) {
        list << QByteArray::number(i).leftJustified(5) + QByteArray("item ").leftJustified(15, 'x');
    }
    return list;
}

bool isBlock(const QByteArray& bytes) {
    return bytes.startsWith(kStx) || bytes.startsWith(kSoh);
}

// Changes each block bound for the receiver that `which` picks by its count (from 1, the heading
// first, each sending counted).
Fault onBlocks(std::function<bool(int)> which, std::function<QByteArray(QByteArray)> change) {
    return [=, sent = 0](bool toReceiver, QByteArray bytes) mutable {
        return toReceiver && isBlock(bytes) && which(++sent) ? change(bytes) : bytes;
    };
}

// Puts `answer` in place of the receiver's first answer to the nth block it was sent.
Fault answerToBlock(int nth, QByteArray answer) {
    return [=, blocks = 0, answered = 0](bool toReceiver, QByteArray bytes) mutable {
        blocks += toReceiver && isBlock(bytes);
        if (toReceiver || bytes.isEmpty() || std::exchange(answered, blocks) == blocks) {
            return bytes;
        }
        return blocks == nth ? answer : bytes;
    };
}

// Runs the two stations against each other, the bytes passing through `fault`, the clock jumping
// to the next deadline whenever the wire is quiet; gives the time when both had ended.
Millis run(FileSender& sender, FileReceiver& receiver, const Fault& fault) {
    const auto due = [](const ProtocolStation& station) {
        return station.progress() == Progress::Running ? station.deadline() : Millis::max();
    };
    Millis now{0};
    sender.start(now);
    receiver.start(now);
    for (int step = 0; step < 100000 && std::min(due(sender), due(receiver)) < Millis::max(); ++step) {
        const QByteArray down = fault(true, sender.takeOutput());
        const QByteArray up = fault(false, receiver.takeOutput());
        if (down.isEmpty() && up.isEmpty()) {
            now = std::max(now, std::min(due(sender), due(receiver)));
            sender.tick(now);
            receiver.tick(now);
        }
        receiver.received(down, now);
        sender.received(up, now);
    }
    return now;
}

}  // namespace

// Each fault of the line: the records that arrive, or how both ends fail, when, and why.
TEST(FileProtocol, EachFaultOfTheLineEndsAsTheProtocolSays) {
    struct Row {
        const char* name;
        Fault fault;
        Progress end;  // of both stations
        Millis atMost;
        const char* senderReason;
    };
    // A bit flipped under the check character: in the heading's file name, or in a record.
    const auto noisy = [](QByteArray block) {
        block[7] = static_cast<char>(block[7] ^ 0x10);
        return block;
    };
    constexpr Progress done = Progress::Done, failed = Progress::Failed;
    const Row rows[] = {
        {"noise on each first sending", onBlocks([](int n) { return n % 2 == 1; }, noisy), done, 1ms, ""},
        {"lost ACK", answerToBlock(3, {}), done, 101ms, ""},
        {"the heading's ACK garbled into NAK", answerToBlock(1, QByteArray(1, kNak)), done, 1ms, ""},
        {"an ACK garbled into NAK", answerToBlock(4, QByteArray(1, kNak)), done, 1ms, ""},
        {"block cut short", onBlocks([](int n) { return n == 5; }, [](QByteArray b) { return b.left(9); }),
         done, 101ms, ""},
        {"noisy every time", onBlocks([](int n) { return n >= 3; }, noisy), failed, 1ms,
         "refused record 2 of 12 10 times"},
        // The ENQ gets the ACK of the record before, so the next one is refused for its serial.
        {"a block lost whole",
         onBlocks([](int n) { return n == 4; }, [](QByteArray) { return QByteArray(); }), failed, 101ms,
         "refused record 4 of 12 10 times"},
        {"EOT for an answer", answerToBlock(4, QByteArray(1, kEot)), failed, 1000ms,
         "the scanner ended the transfer at record 3 of 12"},
    };
    for (const Row& row : rows) {
        FileSender sender({"STOCK.DAT", 12, {5, 15}}, records(12), kQuick);
        FileReceiver receiver(kQuick, "STOCK.DAT");
        EXPECT_LE(run(sender, receiver, row.fault), row.atMost) << row.name;
        EXPECT_EQ(sender.progress(), row.end) << row.name;
        EXPECT_EQ(receiver.progress(), row.end) << row.name << " " << receiver.failure().toStdString();
        EXPECT_TRUE(sender.failure().contains(row.senderReason))
            << row.name << ": " << sender.failure().toStdString();
        // What did arrive is the file's first records, each once.
        EXPECT_EQ(receiver.records(), records(12).mid(0, row.end == done ? 12 : receiver.records().size()))
            << row.name;
    }
}

// The sender's time-outs: ten ENQs three seconds apart to link up, or nine for a block, then EOT.
TEST(FileProtocol, ASenderGivesUpAfterTheScannersOwnCountOfEnqs) {
    const Heading heading{"A.DAT", 1, {1}};
    for (const bool linked : {false, true}) {
        FileSender sender(heading, {"x"}, LinkRules());
        sender.start(0ms);
        if (linked) {
            sender.received(QByteArray(1, kAck), 0ms);
        }
        QByteArray sent = sender.takeOutput();
        for (Millis now = 3000ms; now <= 30000ms; now += 3000ms) {
            sender.tick(now);
            sent += sender.takeOutput();
        }
        EXPECT_EQ(sent, (linked ? kEnq + headingBlock(heading, LinkRules()) + QByteArray(9, kEnq)
                                : QByteArray(10, kEnq)) +
                            kEot);
        EXPECT_TRUE(sender.failure().startsWith(linked ? "the scanner stopped answering at the heading"
                                                       : "the scanner did not answer"))
            << sender.failure().toStdString();
    }
}

// A receiver answers a cancel from the scanner, a file it did not ask for, and a late start.
TEST(FileProtocol, AReceiverEndsWithoutAFileWhenTheSenderStopsOrOffersAnother) {
    // Starts `receiver` and gives it the sender's ENQ and `bytes`; gives its answers.
    const auto feed = [](FileReceiver& receiver, const QByteArray& bytes) {
        receiver.start(0ms);
        receiver.received(kEnq + bytes, 5ms);
        return receiver.takeOutput();
    };
    FileReceiver other(kQuick, "STOCK.DAT");
    EXPECT_EQ(feed(other, headingBlock({"ORDERS.DAT", 1, {3}}, kQuick)), "\x06\x04");
    EXPECT_TRUE(other.failure().contains("ORDERS.DAT")) << other.failure().toStdString();

    FileReceiver cancelled(kQuick, "STOCK.DAT");
    feed(cancelled, headingBlock({"STOCK.DAT", 2, {3}}, kQuick) + dataBlock(1, "abc", kQuick) + kEot);
    EXPECT_EQ(cancelled.failure(), "the scanner ended the transfer after record 1 of 2");

    // Ticks `receiver` a moment before `limit`, when it still waits, and at it; gives why it failed.
    const auto failureAt = [](FileReceiver& receiver, Millis limit) {
        receiver.tick(limit - 1ms);
        EXPECT_EQ(receiver.progress(), Progress::Running) << limit.count();
        receiver.tick(limit);
        return receiver.failure();
    };
    FileReceiver waiting(kQuick, "STOCK.DAT");
    waiting.start(0ms);
    EXPECT_TRUE(failureAt(waiting, 2000ms).startsWith("no scanner called within 2 s"));
    // A receiver waits out the sender's nine ENQs before it gives up.
    FileReceiver patient(kQuick, "STOCK.DAT");
    feed(patient, headingBlock({"STOCK.DAT", 1, {3}}, kQuick));
    EXPECT_EQ(failureAt(patient, 1005ms), "the scanner went silent after record 0 of 1");

    // A record that would break the file's lines is refused, whatever its check character.
    FileReceiver careful(kQuick, {});
    EXPECT_EQ(feed(careful, headingBlock({"X.DAT", 1, {3}}, kQuick) + dataBlock(1, "a\nb", kQuick)),
              "\x06\x06\x15");

    const LinkRules bare{.serialNumbers = false, .blockCheck = false};
    FileReceiver unnumbered(bare, {});
    EXPECT_EQ(feed(unnumbered, headingBlock({"X.DAT", 1, {2}}, bare) + dataBlock(1, "ab", bare) + kEot),
              "\x06\x06\x06\x06");
    EXPECT_EQ(unnumbered.records(), QList<QByteArray>{"ab"});
}
