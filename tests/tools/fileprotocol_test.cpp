// The scanner's file protocol, station against station over a wire the test controls: the
// heading's layout, and each fault of the line ending as the protocol says.
#include <gtest/gtest.h>

#include <functional>

#include "filereceiver.h"
#include "filesender.h"
#include "qtprinting.h"

using namespace fileprotocol;
using namespace std::chrono_literals;

TEST(FileProtocol, TheHeadingAnnouncesNameCountAndFieldLengths) {
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
    EXPECT_EQ(dataBlock(1, "AB", LinkRules()),
              "\x02"
              "00001AB\x03"
              "1");
    EXPECT_EQ(scannerFileName("rmItems.dat"), "RMITEMS.DAT");
    EXPECT_EQ(scannerFileName("inventory.dat"), std::nullopt);
}

TEST(FileProtocol, AReceivedRecordIsItsFieldsWithoutTheirPaddingJoinedByCommas) {
    EXPECT_EQ(recordLine("57   9310012345678  3.5  ", {5, 15, 5}), "57,9310012345678,3.5");
    EXPECT_EQ(recordLine("12   4    0    102  6    ", {5, 5, 5, 5, 5}), "12,4,0,102,6");
    EXPECT_EQ(recordLine("12   4         102  6    ", {5, 5, 5, 5, 5}), "12,4,,102,6");
    EXPECT_EQ(recordLine(" 7 x", {4}), " 7 x");
}

namespace {

// Which bytes of the line a fault touches: the direction, and the byte as it passes.
using Fault = std::function<QByteArray(bool toReceiver, QByteArray bytes)>;

// Runs a sender and a receiver against each other, byte strings passing through `fault`, the clock
// jumping to the next deadline whenever the line is quiet.
struct Wire {
    FileSender sender;
    FileReceiver receiver;
    Millis now{0};

    void run(const Fault& fault) {
        sender.start(now);
        receiver.start(now);
        for (int step = 0; step < 100000 && (sender.progress() == Progress::Running ||
                                             receiver.progress() == Progress::Running);
             ++step) {
            const QByteArray down = fault(true, sender.takeOutput());
            const QByteArray up = fault(false, receiver.takeOutput());
            if (down.isEmpty() && up.isEmpty()) {
                now = std::max(now, std::min(live(sender) ? sender.deadline() : Millis::max(),
                                             live(receiver) ? receiver.deadline() : Millis::max()));
                sender.tick(now);
                receiver.tick(now);
            }
            receiver.received(down, now);
            sender.received(up, now);
        }
    }

    template <typename Station>
    static bool live(const Station& station) {
        return station.progress() == Progress::Running;
    }
};

LinkRules rules() {
    LinkRules quick;
    quick.retryInterval = 100ms;
    quick.linkUpTime = 2000ms;
    return quick;
}

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

// A fault on the nth block bound for the receiver (from 1, the heading first), `times` times.
Fault onBlock(int nth, int times, std::function<QByteArray(QByteArray)> change) {
    auto seen = std::make_shared<int>(0);
    auto left = std::make_shared<int>(times);
    return [=](bool toReceiver, QByteArray bytes) {
        if (toReceiver && isBlock(bytes) && ++*seen >= nth && *left > 0) {
            --*left;
            return change(bytes);
        }
        return bytes;
    };
}

// Turns the receiver's ACK of the nth block into `answer` (nothing: the ACK is lost), once.
Fault answerToBlock(int nth, QByteArray answer) {
    auto blocks = std::make_shared<int>(0);
    auto done = std::make_shared<bool>(false);
    return [=](bool toReceiver, QByteArray bytes) {
        if (toReceiver) {
            *blocks += isBlock(bytes);
        } else if (*blocks == nth && !*done && bytes == QByteArray(1, kAck)) {
            *done = true;
            return answer;
        }
        return bytes;
    };
}

// Drops everything the receiver says once the nth block has reached it.
Fault deafAfter(int nth) {
    auto blocks = std::make_shared<int>(0);
    return [=](bool toReceiver, QByteArray bytes) {
        *blocks += toReceiver && isBlock(bytes);
        return toReceiver || *blocks < nth ? bytes : QByteArray();
    };
}

// Changes the first sending of each block bound for the receiver, and lets its resending pass.
Fault firstSendOfEachBlock(std::function<QByteArray(QByteArray)> change) {
    auto seen = std::make_shared<QList<QByteArray>>();
    return [=](bool toReceiver, QByteArray bytes) {
        if (!toReceiver || !isBlock(bytes) || seen->contains(bytes)) {
            return bytes;
        }
        seen->append(bytes);
        return change(bytes);
    };
}

QByteArray badCheck(QByteArray block) {
    block.back() = static_cast<char>(block.back() ^ 0x10);
    return block;
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
    const Fault clean = [](bool, QByteArray bytes) { return bytes; };
    const auto cut = [](QByteArray b) { return b.left(9); };
    const auto twice = [](QByteArray b) { return b + b; };
    const auto lost = [](QByteArray) { return QByteArray(); };
    const Fault silent = [](bool toReceiver, QByteArray b) { return toReceiver ? QByteArray() : b; };
    constexpr Progress done = Progress::Done, failed = Progress::Failed;
    const Row rows[] = {
        {"clean", clean, done, 1ms, ""},
        {"bad check character", onBlock(4, 1, badCheck), done, 1ms, ""},
        {"bad heading check", onBlock(1, 1, badCheck), done, 1ms, ""},
        {"lost ACK", answerToBlock(3, {}), done, 101ms, ""},
        {"repeated block", onBlock(3, 1, twice), done, 1ms, ""},
        {"every block refused once", firstSendOfEachBlock(badCheck), done, 1ms, ""},
        {"ACK garbled into NAK", answerToBlock(4, QByteArray(1, kNak)), done, 1ms, ""},
        {"block cut short", onBlock(5, 1, cut), done, 101ms, ""},
        {"NAK every time", onBlock(3, 1000, badCheck), failed, 2000ms, "refused record 2 of 12 10 times"},
        {"no answer", silent, failed, 2000ms, "did not answer"},
        {"a block lost whole", onBlock(4, 1, lost), failed, 1000ms, "refused record 4 of 12 10 times"},
        {"receiver gone mid-way", deafAfter(4), failed, 1000ms, "stopped answering at record 3 of 12"},
    };
    for (const Row& row : rows) {
        Wire wire{FileSender({"STOCK.DAT", 12, {5, 15}}, records(12), rules()),
                  FileReceiver(rules(), "STOCK.DAT")};
        wire.run(row.fault);
        EXPECT_EQ(wire.sender.progress(), row.end) << row.name;
        EXPECT_EQ(wire.receiver.progress(), row.end)
            << row.name << " " << wire.receiver.failure().toStdString();
        EXPECT_LE(wire.now, row.atMost) << row.name;
        EXPECT_TRUE(wire.sender.failure().contains(row.senderReason))
            << row.name << ": " << wire.sender.failure().toStdString();
        if (row.end == done) {
            EXPECT_EQ(wire.receiver.records(), records(12)) << row.name;
            EXPECT_EQ(wire.sender.recordsConfirmed(), 12) << row.name;
        }
    }
}

// The sender's time-outs: ten ENQs three seconds apart to link up, then nine for a block.
TEST(FileProtocol, ASenderGivesUpAfterTheScannersOwnCountOfEnqs) {
    FileSender sender({"A.DAT", 1, {1}}, {"x"}, LinkRules());
    sender.start(0ms);
    QByteArray sent = sender.takeOutput();
    for (Millis now = 3000ms; sender.progress() == Progress::Running; now += 3000ms) {
        sender.tick(now);
        sent += sender.takeOutput();
        ASSERT_LE(now, 30000ms);
    }
    EXPECT_EQ(sent, QByteArray(10, kEnq) + kEot);

    FileSender linked({"A.DAT", 1, {1}}, {"x"}, LinkRules());
    linked.start(0ms);
    linked.received(QByteArray(1, kAck), 10ms);
    sent = linked.takeOutput();
    EXPECT_EQ(sent, kEnq + headingBlock({"A.DAT", 1, {1}}, LinkRules()));
    for (Millis now = 3010ms; linked.progress() == Progress::Running && now <= 30010ms; now += 3000ms) {
        linked.tick(now);
        EXPECT_EQ(linked.takeOutput(), linked.progress() == Progress::Running ? "\x05" : "\x04");
    }
    EXPECT_EQ(linked.progress(), Progress::Failed);
}

// A receiver answers a cancel from the scanner, a file it did not ask for, and a late start.
TEST(FileProtocol, AReceiverEndsWithoutAFileWhenTheSenderStopsOrOffersAnother) {
    const auto feed = [](FileReceiver& receiver, const QByteArray& bytes) {
        receiver.start(0ms);
        receiver.received(bytes, 5ms);
        return receiver.takeOutput();
    };
    const QByteArray link(1, kEnq);
    const LinkRules plain = rules();
    FileReceiver other(plain, "STOCK.DAT");
    EXPECT_EQ(feed(other, link + headingBlock({"ORDERS.DAT", 1, {3}}, plain)), "\x06\x04");
    EXPECT_TRUE(other.offeredOtherFile());
    EXPECT_TRUE(other.failure().contains("ORDERS.DAT")) << other.failure().toStdString();

    FileReceiver cancelled(plain, "STOCK.DAT");
    feed(cancelled, link + headingBlock({"STOCK.DAT", 2, {3}}, plain) + dataBlock(1, "abc", plain) + kEot);
    EXPECT_EQ(cancelled.progress(), Progress::Failed);
    EXPECT_EQ(cancelled.failure(), "the scanner ended the transfer after record 1 of 2");

    FileReceiver waiting(plain, "STOCK.DAT");
    waiting.start(0ms);
    waiting.tick(1999ms);
    EXPECT_EQ(waiting.progress(), Progress::Running);
    waiting.tick(2000ms);
    EXPECT_TRUE(waiting.failure().startsWith("no scanner called within 2 s"))
        << waiting.failure().toStdString();

    // A receiver waits out the sender's nine ENQs before it gives up.
    FileReceiver patient(plain, "STOCK.DAT");
    feed(patient, link + headingBlock({"STOCK.DAT", 1, {3}}, plain));
    patient.tick(999ms);
    EXPECT_EQ(patient.progress(), Progress::Running);
    patient.tick(1005ms);
    EXPECT_EQ(patient.failure(), "the scanner went silent after record 0 of 1");

    // A record that would break the file's lines is refused, whatever its check character.
    FileReceiver careful(plain, {});
    EXPECT_EQ(feed(careful, link + headingBlock({"X.DAT", 1, {3}}, plain) + dataBlock(1, "a\nb", plain)),
              "\x06\x06\x15");

    LinkRules bare = plain;
    bare.serialNumbers = false;
    bare.blockCheck = false;
    FileReceiver unnumbered(bare, {});
    EXPECT_EQ(
        feed(unnumbered, link + headingBlock({"X.DAT", 1, {2}}, bare) + dataBlock(1, "ab", bare) + kEot),
        "\x06\x06\x06\x06");
    EXPECT_EQ(unnumbered.records(), QList<QByteArray>{"ab"});
}
