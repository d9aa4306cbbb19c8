#pragma once

#include <QIODevice>

// Standard output under --quiet: takes every write and keeps nothing, so the commands run
// exactly as they would and only their output goes.
class DiscardingDevice : public QIODevice
{
public:
    DiscardingDevice();

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;
};
