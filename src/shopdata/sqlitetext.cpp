#include "shopdata/sqlitetext.h"

#include <QChar>

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The bytes of a sequence whose lead is `lead`, after the lead: 1 to 3; 0 for a byte that begins
// none, which the driver drops (a continuation byte, an overlong C0 or C1, F5 and above).
int continuationsAfter(unsigned char lead) {
    if (lead < 0xC2 || lead >= 0xF5) {
        return 0;
    }
    return lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
}

}  // namespace

// Beyond well-formed UTF-8, the driver has its own rules, which this follows to the byte: a lead
// whose continuation bytes are missing stands for the character of its own value; overlong and
// surrogate forms read as the values they spell; a four-byte lead gives only its two low bits; and
// a character 0 ends the text.
qsizetype readSqliteText(const char* bytes, qsizetype size, char16_t* out) {
    const auto* const text = reinterpret_cast<const unsigned char*>(bytes);
    char16_t* const start = out;
    qsizetype at = 0;
    while (at < size) {
        const unsigned char lead = text[at];
        if (lead < 0x80) {
            if (lead == 0) {
                break;
            }
            *out++ = lead;
            ++at;
            continue;
        }
        const int more = continuationsAfter(lead);
        if (more == 0) {
            ++at;
            continue;
        }
        bool whole = at + more < size;
        for (int next = 1; whole && next <= more; ++next) {
            whole = isContinuation(text[at + next]);
        }
        if (!whole) {
            *out++ = lead;
            ++at;
            continue;
        }
        static constexpr unsigned char kLeadBits[] = {0, 0x1F, 0x0F, 0x03};
        char32_t value = lead & kLeadBits[more];
        for (int next = 1; next <= more; ++next) {
            value = value << 6 | (text[at + next] & 0x3F);
        }
        at += more + 1;
        if (value == 0) {
            break;
        }
        if (QChar::requiresSurrogates(value)) {
            *out++ = QChar::highSurrogate(value);
            *out++ = QChar::lowSurrogate(value);
        } else {
            *out++ = char16_t(value);
        }
    }
    return out - start;
}
