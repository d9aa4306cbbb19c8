#pragma once

#include "PageWarnings.h"

#include <QCoreApplication>
#include <QString>

// What each kind of warning is called where a person reads it. tsmeta keeps the stable
// machine names, which scripts match.
class WarningKindTexts
{
    Q_DECLARE_TR_FUNCTIONS(WarningKindTexts)

public:
    static QString text(WarningKind kind);
};
