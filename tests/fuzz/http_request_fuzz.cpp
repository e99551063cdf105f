#include <algorithm>

#include "fuzzharness.h"
#include "httprequest.h"

namespace {

constexpr qsizetype kBodyLimit = 4096;

// What a request came to: its state, refusal, method, path and body.
struct Outcome {
    HttpRequest::State state;
    int refusal;
    QByteArray method, path, body;

    bool operator==(const Outcome&) const = default;
};

// Feeds `bytes` to a request in pieces of `piece` bytes (all at once for 0).
Outcome readInPieces(QByteArrayView bytes, qsizetype piece) {
    HttpRequest request(kBodyLimit);
    const qsizetype step = piece == 0 ? std::max<qsizetype>(bytes.size(), 1) : piece;
    for (qsizetype at = 0; at < bytes.size() && request.state() == HttpRequest::State::Reading; at += step) {
        request.feed(bytes.sliced(at, std::min(step, bytes.size() - at)));
    }
    return {request.state(), request.refusal(), request.method(), request.path(), request.body()};
}

}  // namespace

// A request from whoever is on the shop's network, the first byte choosing how it arrives in pieces:
// it reads the same however it is cut, a whole one keeps within the limits it was given, and a
// refused one says why with a status.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const QByteArrayView bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size) - 1);
    const Outcome whole = readInPieces(bytes, 0);
    fuzzCheck(readInPieces(bytes, 1 + data[0] % 64) == whole, "a request reads the same however it is cut");
    if (whole.state == HttpRequest::State::Complete) {
        fuzzCheck(whole.body.size() <= kBodyLimit, "a body keeps within the limit");
        fuzzCheck(whole.path.startsWith('/') && !whole.path.contains('?'),
                  "a path is the target without its query");
    }
    if (whole.state == HttpRequest::State::Refused) {
        fuzzCheck(QList<int>{400, 411, 413, 431, 501}.contains(whole.refusal), "a refusal has its status");
    }
    return 0;
}
