#pragma once

#include "PageWarnings.h"

#include <QList>
#include <QString>

// One page of a site's table, as the table shows it and exports it.
struct SitePageRow
{
    QString path; // relative to the site's folder
    QString title;
    double titlePixels = 0;
    QString description; // the texts as the page holds them, empty when it has none
    double descriptionPixels = 0;
    QString keywords;
    QString author;
    QString robots; // the robots tag's value, as MetaElementSet::robotsValue gives it
    bool charset = false;
    QList<WarningKind> warnings;
};
