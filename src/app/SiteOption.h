#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// "tagsmith --site FOLDER" opens the pages under FOLDER in a site window. The option and
// its folder are taken out of the arguments, so neither is opened as a page; the first
// --site counts, and one with no folder after it names none.
class SiteOption
{
public:
    // The folder, absolute from workingFolder, when the arguments named one.
    static std::optional<QString> takeFrom(QStringList &arguments, const QString &workingFolder);
};
