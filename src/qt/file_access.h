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

// A file to be replaced, checked now and written later (an export, once the module has
// answered): open() checks `path` as checkWritableTarget() does, follows a link once, opens the
// folder and notes which file the name holds (or that it holds none). write() then replaces
// that file with `bytes` all at once, inside that very folder: the bytes go to a new file beside
// it, every write, the flush to disk and the close are checked, and only then is the new file
// renamed over the old one; on any failure the old file is untouched and the new one removed.
// A write is refused when the name has come to hold something else since open() (a link, or
// another file), so nothing swapped in meanwhile is ever written through. An existing file's
// permissions are kept.
class FileReplacement
{
public:
    FileReplacement() = default;
    ~FileReplacement();
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    bool open(const QString &path, QString &error);
    bool write(const QByteArray &bytes, QString &error);
    // The file written: the path as given, or for a link the file it led to when opened.
    QString target() const { return m_target; }

private:
    bool unchanged(QString &error) const;

    QString m_target;
    QByteArray m_name; // the file's name in m_folder
    int m_folder = -1;
    bool m_existed = false;
    quint64 m_device = 0;
    quint64 m_inode = 0;
};

// FileReplacement's open() and write() at once.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString &error);

// What identifies the file a path names, after following links: device and inode for a file
// that exists, else the resolved folder and name. Two paths naming the same file give equal
// results. Empty for standard output.
QString fileIdentity(const QString &path);

// A file written in whole records (a CSV row, a log line): each write() either adds the whole
// record or adds nothing; after a short write (a full disk) the file is cut back to the end of
// the last whole record. "-" is standard output, which is never cut back. Standard output that
// is a pipe or a socket is written without blocking, so that a reader that stops reading never
// stops the caller: what it has not taken yet waits here, at most kMaxPendingBytes, and goes
// with the next write() or flush().
class RecordFile
{
public:
    enum class Mode
    {
        Truncate,
        Append
    };
    static constexpr qint64 kMaxPendingBytes = 1 << 20;

    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    bool open(const QString &path, Mode mode, QString &error);
    // Makes one more attempt at what is waiting, without waiting; what the reader still does
    // not take is lost.
    void close();
    bool isOpen() const { return m_fd >= 0; }
    QString path() const { return m_path; }
    // The bytes in the file now (0 for standard output).
    qint64 size() const { return m_size; }

    bool write(const QByteArray &record, QString &error);
    // Hands over what is waiting, as far as the reader takes it.
    bool flush(QString &error);
    // Bytes written but not taken yet, and bytes taken since open().
    qint64 pendingBytes() const { return m_pending.size(); }
    qint64 bytesTaken() const { return m_taken; }
    // The descriptor to watch for room while bytes are waiting; -1 when not open.
    int descriptor() const { return m_fd; }

private:
    bool openStandardOutput(QString &error);

    QString m_path;
    int m_fd = -1;
    bool m_closeFd = false; // a descriptor of our own
    bool m_cutBack = false; // a regular file of our own, cut back after a short write
    bool m_nonBlocking = false;
    int m_restoreFlags = -1; // standard output's flags before it was made non-blocking
    qint64 m_size = 0;
    qint64 m_taken = 0;
    QByteArray m_pending;
};

} // namespace quelo
