#include "ControlError.h"

ControlError::ControlError(int offset, QString source, QString description)
    : std::runtime_error(description.toStdString())
    , m_offset(offset)
    , m_source(std::move(source))
    , m_description(std::move(description))
{
}
