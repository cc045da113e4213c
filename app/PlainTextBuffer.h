#ifndef MOSSDEN_APP_PLAINTEXTBUFFER_H
#define MOSSDEN_APP_PLAINTEXTBUFFER_H

// The game's output as plain text: what its lines quote (file names, engine
// messages that quote file bytes) may hold control characters and bytes
// that are no UTF-8, which a terminal would act on or garble. Those are
// written as escapes: \xHH for a control character, a stray or invalid byte
// (and DEL), \u00HH for a C1 control character. Tab and, in a stream of
// lines, the newline pass. Backslashes pass as they are.
// The buffer also keeps the last OUTPUT_HISTORY characters written, for a
// crash report: a fixed ring that is never allocated after construction.
#include <array>
#include <cstddef>
#include <streambuf>
#include <string>
#include <string_view>

namespace Mossden {

// `text` with the escapes above; with `oneLine` the newline is escaped too
// (as \n), so that the result is a single line.
std::string plainText(std::string_view text, bool oneLine);

class PlainTextBuffer : public std::streambuf {
public:
    static constexpr std::size_t OUTPUT_HISTORY = 4096;

    // With `oneLine` the newline is escaped as well.
    explicit PlainTextBuffer(std::streambuf* target, bool oneLine = false);
    ~PlainTextBuffer() override;
    PlainTextBuffer(const PlainTextBuffer&) = delete;
    PlainTextBuffer& operator=(const PlainTextBuffer&) = delete;

    // Copies the kept output, oldest first, into `out`; returns the length.
    // Safe in a signal handler: no allocation, no locks (a line being
    // written at that moment may come out torn).
    std::size_t history(char* out, std::size_t capacity) const;

protected:
    int overflow(int c) override;
    int sync() override;

private:
    void byte(unsigned char c);
    void plain(unsigned char c);
    void completeSequence();
    void emit(const char* text, std::size_t length);
    void emitEscaped(const char* prefix, unsigned char byte);
    void flushPending();  // a started UTF-8 sequence that did not complete

    std::streambuf* target;
    bool oneLine;
    std::array<unsigned char, 4> pending{};  // a UTF-8 sequence so far
    std::size_t pendingLength = 0;
    std::size_t expectedLength = 0;
    std::array<char, OUTPUT_HISTORY> ring{};
    std::size_t written = 0;  // characters put into the ring so far
};

}  // namespace Mossden

#endif
