#pragma once

#include "MetaEdit.h"

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QList>
#include <QString>

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
    const MetaEdit &edit() const { return m_edit; }

private:
    MetaEdit m_edit;
};
