#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Reads an upload file line by line in bounded memory: 8-bit text read as Latin-1 (every byte,
// NUL included, is one character), a line ending at CR LF or a lone CR, a lone LF kept in the
// line, and a last line that needs no end. Failures raise ProgramError.
class UploadLineReader {
public:
    // No scanner writes a line this long; a longer one means the file is not an upload file.
    static constexpr qsizetype kMaxLineLength = 1 << 20;

    explicit UploadLineReader(const QString& path) : file_(path) {}

    void open();
    // The next line without its end into `line`; false once the file is exhausted.
    bool readLine(QString& line);
    void close() { file_.close(); }

private:
    bool fillChunk();
    void appendToLine(QString& line, const char* text, qsizetype length) const;

    QFile file_;
    QByteArray chunk_;
    qsizetype chunkPos_ = 0;
    // The last line ended at a CR, so an LF that follows belongs to that end.
    bool afterCarriageReturn_ = false;
};
