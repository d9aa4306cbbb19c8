#include "PropertyBag.h"

QVariant PropertyBag::readProperty(const QString &name, const QVariant &defaultValue) const
{
    return m_values.value(name, defaultValue);
}

void PropertyBag::writeProperty(const QString &name, const QVariant &value, const QVariant &defaultValue)
{
    if (defaultValue.isValid() && value == defaultValue) {
        m_values.remove(name);
        return;
    }
    m_values.insert(name, value);
}
