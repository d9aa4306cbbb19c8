#pragma once

#include "MetaElementSet.h"

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

class QCommandLineParser;

// The member values given on the command line; members not given stay as they are.
class MetaOptions
{
    // All of tsmeta's texts share one translation context.
    Q_DECLARE_TR_FUNCTIONS(tsmeta)

public:
    static QList<QCommandLineOption> options();

    // False with a message when a value is not understood.
    bool parse(const QCommandLineParser &parser, QString &error);
    void applyTo(MetaElementSet &values) const;

private:
    std::optional<QString> m_description;
    std::optional<QString> m_keywords;
    std::optional<QString> m_author;
    std::optional<QList<RobotsFlag>> m_robots;
    std::optional<bool> m_charset;
};
