#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

// The design-time properties of a control, as a form stores them. A value equal to its
// default is not written, so reading it back yields the default again.
class PropertyBag
{
public:
    QVariant readProperty(const QString &name, const QVariant &defaultValue = {}) const;
    void writeProperty(const QString &name, const QVariant &value, const QVariant &defaultValue = {});

    bool contains(const QString &name) const { return m_values.contains(name); }
    qsizetype count() const { return m_values.size(); }

private:
    QHash<QString, QVariant> m_values;
};
