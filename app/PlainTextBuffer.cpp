#include "app/PlainTextBuffer.h"

#include <sstream>

namespace Mossden {

namespace {

// Length of the UTF-8 sequence that `lead` starts, 0 when no sequence
// starts with it (a continuation byte, an overlong lead, beyond U+10FFFF).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Whether `byte` may follow `lead` as the sequence's second byte: the first
// continuation rules out overlong forms, surrogates and code points beyond
// U+10FFFF.
bool validSecond(unsigned char lead, unsigned char byte) {
    unsigned char low = 0x80, high = 0xBF;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
    return byte >= low && byte <= high;
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::string plainText(std::string_view text, bool oneLine) {
    std::stringbuf out;
    {
        PlainTextBuffer plain(&out, oneLine);
        plain.sputn(text.data(), static_cast<std::streamsize>(text.size()));
    }
    return out.str();
}

PlainTextBuffer::PlainTextBuffer(std::streambuf* target, bool oneLine) : target(target), oneLine(oneLine) {}

PlainTextBuffer::~PlainTextBuffer() {
    flushPending();
    target->pubsync();
}

int PlainTextBuffer::overflow(int c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    byte(static_cast<unsigned char>(c));
    return c;
}

int PlainTextBuffer::sync() { return target->pubsync(); }

void PlainTextBuffer::byte(unsigned char c) {
    if (pendingLength > 0) {
        const bool fits = pendingLength == 1 ? validSecond(pending[0], c) : isContinuation(c);
        if (fits) {
            pending[pendingLength++] = c;
            if (pendingLength == expectedLength) completeSequence();
            return;
        }
        flushPending();  // the sequence broke off: its bytes are stray
    }
    if (c < 0x80) {
        plain(c);
    } else if (const std::size_t length = sequenceLength(c)) {
        pending[0] = c;
        pendingLength = 1;
        expectedLength = length;
    } else {
        emitEscaped("\\x", c);
    }
}

void PlainTextBuffer::plain(unsigned char c) {
    if (c == '\t' || (c == '\n' && !oneLine) || (c >= 0x20 && c < 0x7F)) {
        const char ch = static_cast<char>(c);
        emit(&ch, 1);
    } else if (c == '\n') {
        emit("\\n", 2);
    } else {
        emitEscaped("\\x", c);
    }
}

void PlainTextBuffer::completeSequence() {
    // U+0080..U+009F, the C1 controls, are C2 80..C2 9F.
    if (pending[0] == 0xC2 && pending[1] < 0xA0)
        emitEscaped("\\u00", pending[1]);
    else
        emit(reinterpret_cast<const char*>(pending.data()), pendingLength);
    pendingLength = 0;
}

void PlainTextBuffer::emit(const char* text, std::size_t length) {
    target->sputn(text, static_cast<std::streamsize>(length));
    for (std::size_t i = 0; i < length; ++i) ring[(written + i) % OUTPUT_HISTORY] = text[i];
    written += length;
}

void PlainTextBuffer::emitEscaped(const char* prefix, unsigned char c) {
    static const char DIGITS[] = "0123456789abcdef";
    char text[8];
    std::size_t n = 0;
    for (const char* p = prefix; *p; ++p) text[n++] = *p;
    text[n++] = DIGITS[c >> 4];
    text[n++] = DIGITS[c & 0xF];
    emit(text, n);
}

void PlainTextBuffer::flushPending() {
    for (std::size_t i = 0; i < pendingLength; ++i) emitEscaped("\\x", pending[i]);
    pendingLength = 0;
}

std::size_t PlainTextBuffer::history(char* out, std::size_t capacity) const {
    const std::size_t kept = written < OUTPUT_HISTORY ? written : OUTPUT_HISTORY;
    const std::size_t length = kept < capacity ? kept : capacity;
    const std::size_t first = written - length;
    for (std::size_t i = 0; i < length; ++i) out[i] = ring[(first + i) % OUTPUT_HISTORY];
    return length;
}

}  // namespace Mossden
