#pragma once

#include <QString>

#include <stdexcept>

// A numbered error raised by the program's own controls when they are misused.
// The number is the object-error base plus the control's error offset (1049 and up).
class ControlError : public std::runtime_error
{
public:
    static constexpr qint32 kObjectErrorBase = static_cast<qint32>(0x80040000u);

    ControlError(int offset, QString source, QString description);

    qint32 number() const { return kObjectErrorBase + m_offset; }
    int offset() const { return m_offset; }
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }

private:
    int m_offset;
    QString m_source;
    QString m_description;
};
