#pragma once

#include <QtGlobal>

#include <string_view>

// Every byte a save puts on disk goes through here, one open file at a time, so a test can
// stand in a disk that fills up part way. Each call returns 0, or the errno value of the
// failure.
class FileWriter
{
public:
    virtual ~FileWriter() = default;

    // Claims the blocks for the first `length` bytes without changing the file's size, so
    // that a full disk shows before a byte is written. Where the file system cannot claim
    // blocks ahead, nothing is claimed and nothing fails.
    virtual int reserve(int fd, qint64 length);
    virtual int writeAt(int fd, qint64 offset, std::string_view bytes);
    virtual int truncate(int fd, qint64 length);
    virtual int sync(int fd);
};
