#include "sendingstation.h"

SendingStation::SendingStation(OutgoingFile file, fileprotocol::LinkRules rules)
    : sender_(std::move(file.heading), std::move(file.records), rules) {}

void SendingStation::received(QByteArrayView bytes, fileprotocol::Millis now) {
    // The scanner's first ACK answers the ENQ that asked for the link.
    linked_ = linked_ || bytes.contains(fileprotocol::kAck);
    sender_.received(bytes, now);
}
