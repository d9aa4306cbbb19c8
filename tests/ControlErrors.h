#pragma once

#include "ControlError.h"

#include <QString>

#include <functional>

// What a control's call raised, as "offset source: description", the offset read from the
// error's number; nothing when it raised nothing.
inline QString raisedBy(const std::function<void()> &call)
{
    try {
        call();
    } catch (const ControlError &error) {
        return QStringLiteral("%1 %2: %3")
            .arg(error.number() - qint32(0x80040000u))
            .arg(error.source(), error.description());
    }
    return {};
}
