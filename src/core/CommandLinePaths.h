#pragma once

#include <QString>
#include <QStringList>

// The files a command line names. Each argument is one path, kept exactly as given: no
// trimming, no quote stripping, for " a.html" and "\"b\".html" are file names like any
// other. A relative one is taken from the folder the program was started in. Qt's options
// are taken out before (QtOptions).
class CommandLinePaths
{
public:
    // In order, one per argument that names a file; empty and all-blank arguments name none,
    // nor does a lone "--": Qt reads its options wherever they stand, so it ends none of
    // them here, and a page named so is opened by its path, ./--.
    static QStringList fromArguments(const QStringList &arguments, const QString &workingFolder);
    static bool namesNothing(const QString &argument);
    // An absolute path as it is; any other below workingFolder, with nothing cleaned away.
    static QString absolute(const QString &path, const QString &workingFolder);
};
