#pragma once

#include "PageAudit.h"
#include "WidthLimits.h"

#include <QByteArray>
#include <QCoreApplication>

// One page's result as an audit writes it, in UTF-8, in either format. Made on the threads
// that read the pages, in both forms a page may need: the audit learns whether another
// page shares its description only when all are read.
class PageLines
{
    // All of tsmeta's texts share one translation context.
    Q_DECLARE_TR_FUNCTIONS(tsmeta)

public:
    // The page's JSON line, its line end included.
    static QByteArray json(const PageAudit &page, bool descriptionShared);
    // The table row from the path's padding on: the widths, marked past their limits, and
    // the warnings.
    static QByteArray tableCells(const PageAudit &page, bool descriptionShared, const WidthLimits &limits);
};
