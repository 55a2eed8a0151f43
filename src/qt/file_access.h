// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace quelo {

// Every file the program reads or writes goes through here, and is treated like the serial
// line: untrusted. Reading takes only regular files and never waits (a FIFO or a device node is
// refused before it is opened for good); writing goes only to a regular file or a new path, so a
// typo can never replace a device node; every write is checked. An error is the reason in a few
// words
// ("not a regular file: a device, a pipe or a folder"), without the file's name, for the caller
// to put into its own sentence. Nothing here asks a question or shows a window.

// "-" names standard output where an option says so.
inline bool isStandardStream(const QString &path)
{
    return path == QLatin1String("-");
}

// A regular file opened for reading without blocking: open() looks at the path before it
// opens it (O_NONBLOCK) and at the open file again (fstat), so a FIFO, a device node or a folder
// is refused at once.
class RegularFileReader
{
public:
    RegularFileReader() = default;
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader &) = delete;
    RegularFileReader &operator=(const RegularFileReader &) = delete;

    bool open(const QString &path, QString &error);
    // The size fstat gave when the file was opened.
    qint64 size() const { return m_size; }
    // Up to `max` bytes; 0 at the end; -1 with `error` on a failed read.
    qint64 read(char *data, qint64 max, QString &error);

private:
    QString m_path;
    int m_fd = -1;
    qint64 m_size = 0;
};

// The whole of a small regular file. A file over `maxBytes` is refused from its size alone,
// without reading it; one that grows past `maxBytes` while it is read is refused too.
bool readSmallFile(const QString &path, qint64 maxBytes, QByteArray &bytes, QString &error);

// Whether `path` can take a new file: an existing regular file (or a link to one) in a folder
// the program may write, or a new name in such a folder. Checked before anything else is done,
// so that a command fails before it touches the port rather than after.
bool checkWritableTarget(const QString &path, QString &error);

// Replaces `path` with `bytes` all at once: the bytes go to a new file beside it, every write,
// the flush to disk and the close are checked, and only then is the new file renamed over the
// old one. On any failure the old file is untouched and the new one removed. A link is
// followed and the file it points to replaced; an existing file's permissions are kept.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString &error);

// What identifies the file a path names, after following links: device and inode for a file
// that exists, else the resolved folder and name. Two paths naming the same file give equal
// results. Empty for standard output.
QString fileIdentity(const QString &path);

// A file written in whole records (a CSV row, a log line): each write() either adds the whole
// record or adds nothing; after a short write (a full disk) the file is cut back to the end of
// the last whole record. "-" is standard output, which is never cut back.
class RecordFile
{
public:
    enum class Mode
    {
        Truncate,
        Append
    };

    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    bool open(const QString &path, Mode mode, QString &error);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    QString path() const { return m_path; }
    // The bytes in the file now (0 for standard output).
    qint64 size() const { return m_size; }

    bool write(const QByteArray &record, QString &error);

private:
    QString m_path;
    int m_fd = -1;
    bool m_owned = false;
    qint64 m_size = 0;
};

} // namespace quelo
